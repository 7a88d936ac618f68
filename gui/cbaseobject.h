#pragma once
// Reference counting for views and bitmaps shared between their owners.
// A new object holds one reference; forget() drops one and deletes at zero.
namespace VSTGUI {

class CBaseObject {
public:
    CBaseObject() = default;
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;
    virtual ~CBaseObject() = default;

    void remember() { ++refCount_; }
    void forget() { if (--refCount_ <= 0) delete this; }
    int getNbReference() const { return refCount_; }

private:
    int refCount_ = 1;
};

}  // namespace VSTGUI
