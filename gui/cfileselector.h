#pragma once
// CNewFileSelector: a modal file chooser for opening or saving one file,
// with file-type filters. runModal() asks the desktop's dialog program; tests
// set a hook that answers in its place.
#include <functional>
#include <string>
#include <vector>

#include "gui/cbaseobject.h"

namespace VSTGUI {

class CFrame;

class CFileExtension {
public:
    CFileExtension(const char* description, const char* extension, const char* mimeType = nullptr,
                   int macType = 0);
    const char* getDescription() const { return description_.c_str(); }
    const char* getExtension() const { return extension_.c_str(); }  // without the dot
    const char* getMimeType() const { return mimeType_.c_str(); }    // "" when none
    int getMacType() const { return macType_; }
    bool operator==(const CFileExtension& o) const {
        return description_ == o.description_ && extension_ == o.extension_ && mimeType_ == o.mimeType_;
    }

private:
    std::string description_, extension_, mimeType_;
    int macType_;
};

class CNewFileSelector : public CBaseObject {
public:
    enum Style { kSelectFile = 0, kSelectSaveFile, kSelectDirectory };

    // Release with forget().
    static CNewFileSelector* create(CFrame* parent = nullptr, Style style = kSelectFile);

    void setTitle(const char* title) { title_ = title ? title : ""; }
    void setInitialDirectory(const char* path) { initialDirectory_ = path ? path : ""; }
    void setDefaultSaveName(const char* name) { defaultSaveName_ = name ? name : ""; }
    void setDefaultExtension(const CFileExtension& extension);
    void addFileExtension(const CFileExtension& extension) { extensions_.push_back(extension); }
    void setAllowMultiFileSelection(bool state) { (void)state; }  // one file at a time

    // Blocks until the user has chosen or cancelled; true when a file was
    // chosen. A save selector whose chosen name has no extension gets the
    // default extension (or the first filter's) appended.
    bool runModal();
    long getNumSelectedFiles() const { return static_cast<long>(selected_.size()); }
    const char* getSelectedFile(long index) const;  // null when out of range

    Style getStyle() const { return style_; }
    const std::string& getTitle() const { return title_; }
    const std::string& getInitialDirectory() const { return initialDirectory_; }
    const std::string& getDefaultSaveName() const { return defaultSaveName_; }
    const std::vector<CFileExtension>& getFileExtensions() const { return extensions_; }
    const CFileExtension* getDefaultExtension() const { return hasDefault_ ? &defaultExtension_ : nullptr; }

    // Test hook: when set, runModal calls it instead of the dialog program.
    // It answers true and fills `path` to choose a file, false to cancel.
    typedef std::function<bool(const CNewFileSelector& selector, std::string& path)> Hook;
    static void setTestHook(Hook hook);

private:
    CNewFileSelector(CFrame* parent, Style style);
    CFrame* parent_;
    Style style_;
    std::string title_, initialDirectory_, defaultSaveName_;
    std::vector<CFileExtension> extensions_;
    CFileExtension defaultExtension_{"", ""};
    bool hasDefault_ = false;
    std::vector<std::string> selected_;
};

}  // namespace VSTGUI
