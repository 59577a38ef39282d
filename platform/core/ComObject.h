// Reference counting shared by the layer's COM objects: an object starts
// with one reference (the one handed to the caller) and deletes itself when
// the last one is released.
#ifndef VORBLOX_PLATFORM_COM_OBJECT_H
#define VORBLOX_PLATFORM_COM_OBJECT_H

#include <windows.h>

namespace plat {

template <class Derived, class Interface>
class ComObject : public Interface {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }

    ULONG STDMETHODCALLTYPE Release() override
    {
        // A spare Release on a dead object is the caller's bug; on a live
        // one the count never wraps below zero.
        if (references == 0) return 0;
        ULONG left = --references;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

protected:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    // For QueryInterface: hands out this object with one more reference.
    HRESULT Give(void** object)
    {
        AddRef();
        *object = static_cast<Interface*>(this);
        return S_OK;
    }

private:
    ULONG references = 1;
};

// A second interface of an object (IDirectDraw2 of a DirectDraw object,
// IDirectDrawSurface3 of a surface): a separate object that keeps its
// parent alive and answers QueryInterface through it.
template <class Interface>
class ChildInterface final : public ComObject<ChildInterface<Interface>, Interface> {
public:
    explicit ChildInterface(IUnknown* parent) : parent(parent) { parent->AddRef(); }
    ~ChildInterface() { parent->Release(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        return parent->QueryInterface(riid, object);
    }

private:
    IUnknown* parent;
};

}  // namespace plat

#endif
