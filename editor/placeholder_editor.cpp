// Placeholder until the editor window lands: an editor object with a size
// and no window, so hosts that ask for one get sane answers.
#include "host/editor_factory.h"
#include "host/ovaudio.h"
#include "vst2/aeffeditor.h"

namespace {

class PlaceholderEditor : public AEffEditor {
public:
    explicit PlaceholderEditor(AudioEffect* effect) : AEffEditor(effect) {}
    bool getRect(ERect** rect) override {
        static ERect size{0, 0, 178, 381};
        *rect = &size;
        return true;
    }
};

}  // namespace

AEffEditor* createOvEditor(OvAudio* effect) {
    return new PlaceholderEditor(effect);
}
