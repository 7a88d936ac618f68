#include "presets/toolkit_dialogs.h"

#include "gui/cfileselector.h"
#include "platform/dialogs.h"

DialogServices toolkitDialogServices(VSTGUI::CFrame* frame) {
    using VSTGUI::CFileExtension;
    using VSTGUI::CNewFileSelector;
    DialogServices services;
    services.chooseFile = [frame](const FileRequest& request, std::string& path) {
        CNewFileSelector* selector = CNewFileSelector::create(
            frame, request.style == FileDialogStyle::save ? CNewFileSelector::kSelectSaveFile
                                                          : CNewFileSelector::kSelectFile);
        if (!selector) return false;
        selector->addFileExtension(CFileExtension(request.description, request.extension, request.mimeType));
        selector->setDefaultExtension(CFileExtension(request.description, request.extension));
        selector->setTitle(request.title);
        bool chosen = false;
        if (selector->runModal()) {
            const char* file = selector->getSelectedFile(0);
            if (file && *file) {
                path = file;
                chosen = true;
            }
        }
        selector->forget();
        return chosen;
    };
    // The texts are shown as they are, never read as formats.
    services.messageBox = [](const char* title, const char* text) { MessBox(title, "%s", text); };
    services.askYesNo = [](const char* title, const char* text) { return MessBoxYesNo(title, "%s", text); };
    return services;
}
