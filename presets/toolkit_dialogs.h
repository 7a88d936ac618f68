#pragma once
// The preset dialogs' services on the toolkit's file selector and the
// desktop's message boxes: what the editor hands to the dialogs.
#include "presets/preset_dialogs.h"

namespace VSTGUI {
class CFrame;
}

// File selectors open on `frame` (may be null).
DialogServices toolkitDialogServices(VSTGUI::CFrame* frame);
