#pragma once
// The plug-in creates its editor through this factory, which the editor
// library defines, so the instance does not depend on the editor's code.
class AEffEditor;
class OvAudio;

AEffEditor* createOvEditor(OvAudio* effect);
