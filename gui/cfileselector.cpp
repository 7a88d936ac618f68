#include "gui/cfileselector.h"

#include "platform/dialogs.h"

namespace VSTGUI {

namespace {
CNewFileSelector::Hook& testHook() {
    static CNewFileSelector::Hook hook;
    return hook;
}

std::string baseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

CFileExtension::CFileExtension(const char* description, const char* extension, const char* mimeType, int macType)
    : description_(description ? description : ""),
      extension_(extension ? extension : ""),
      mimeType_(mimeType ? mimeType : ""),
      macType_(macType) {
    if (!extension_.empty() && extension_[0] == '.') extension_.erase(0, 1);
}

CNewFileSelector::CNewFileSelector(CFrame* parent, Style style) : parent_(parent), style_(style) {}

CNewFileSelector* CNewFileSelector::create(CFrame* parent, Style style) { return new CNewFileSelector(parent, style); }

void CNewFileSelector::setTestHook(Hook hook) { testHook() = std::move(hook); }

void CNewFileSelector::setDefaultExtension(const CFileExtension& extension) {
    defaultExtension_ = extension;
    hasDefault_ = true;
}

const char* CNewFileSelector::getSelectedFile(long index) const {
    if (index < 0 || index >= getNumSelectedFiles()) return nullptr;
    return selected_[static_cast<size_t>(index)].c_str();
}

bool CNewFileSelector::runModal() {
    selected_.clear();
    std::string path;
    bool chosen;
    if (testHook()) {
        chosen = testHook()(*this, path);
    } else {
        std::vector<platform::FileFilter> filters;
        for (const CFileExtension& e : extensions_) filters.push_back({e.getDescription(), e.getExtension()});
        std::string initial = initialDirectory_;
        if (!initial.empty() && initial.back() != '/') initial += '/';
        if (style_ == kSelectSaveFile) initial += defaultSaveName_;
        chosen = platform::chooseFile(style_ == kSelectSaveFile, title_, filters, initial, path);
    }
    if (!chosen || path.empty()) return false;
    // A name typed without an extension gets the file type's, as the file
    // type is part of what the user asked to save.
    if (style_ == kSelectSaveFile && baseName(path).find('.') == std::string::npos) {
        const CFileExtension* ext = hasDefault_ ? &defaultExtension_ : (extensions_.empty() ? nullptr : &extensions_[0]);
        if (ext && *ext->getExtension()) path += std::string(".") + ext->getExtension();
    }
    selected_.push_back(path);
    return true;
}

}  // namespace VSTGUI
