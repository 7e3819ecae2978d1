// Small holders that give back what the system lent when they go out of
// scope: device contexts and the objects selected into them, GDI objects, COM
// for this thread and COM objects, an open clipboard, locked global memory.
// File handles are in filehandle.h.
#pragma once
#include <windows.h>
#include <objbase.h>

// GetDC on construction, ReleaseDC on destruction.
struct WindowDC {
    HWND window;
    HDC dc;
    explicit WindowDC(HWND w) : window(w), dc(GetDC(w)) {}
    ~WindowDC()
    {
        if (dc)
            ReleaseDC(window, dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
};

// Selects an object into a device context and puts the previous one back.
struct SelectedObject {
    HDC dc;
    HGDIOBJ previous;
    SelectedObject(HDC d, HGDIOBJ object) : dc(d), previous(object ? SelectObject(d, object) : nullptr) {}
    ~SelectedObject()
    {
        if (previous)
            SelectObject(dc, previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
};

// A font, brush or bitmap this code created, deleted with it.
struct GdiObject {
    HGDIOBJ object;
    explicit GdiObject(HGDIOBJ o = nullptr) : object(o) {}
    ~GdiObject() { reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    void reset(HGDIOBJ o = nullptr)
    {
        if (object)
            DeleteObject(object);
        object = o;
    }
};

// COM for this thread, for as long as the holder lives (CoInitialize may
// answer S_FALSE when it already was: that too is balanced).
struct ComInitialized {
    bool initialized;
    ComInitialized() : initialized(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComInitialized()
    {
        if (initialized)
            CoUninitialize();
    }
    ComInitialized(const ComInitialized&) = delete;
    ComInitialized& operator=(const ComInitialized&) = delete;
};

// One reference to a COM object, released with the holder.
template <typename Interface> struct ComObject {
    Interface* object = nullptr;
    ComObject() = default;
    ~ComObject() { reset(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    void reset()
    {
        if (object)
            object->Release();
        object = nullptr;
    }
    void** out() { reset(); return reinterpret_cast<void**>(&object); }
    Interface* operator->() const { return object; }
    explicit operator bool() const { return object != nullptr; }
};

// The clipboard, opened for this window and closed with the holder. Another
// program may hold it for a moment (a clipboard viewer reading the last
// copy), so it is tried again for up to waitMilliseconds.
struct OpenedClipboard {
    bool opened;
    explicit OpenedClipboard(HWND owner, DWORD waitMilliseconds = 0) : opened(OpenClipboard(owner) != FALSE)
    {
        for (DWORD waited = 0; !opened && waited < waitMilliseconds; waited += 25) {
            Sleep(25);
            opened = OpenClipboard(owner) != FALSE;
        }
    }
    ~OpenedClipboard()
    {
        if (opened)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
};

// A movable global block, freed with the holder unless release() handed it on
// (SetClipboardData takes it over).
struct GlobalBlock {
    HGLOBAL block;
    explicit GlobalBlock(HGLOBAL b) : block(b) {}
    ~GlobalBlock()
    {
        if (block)
            GlobalFree(block);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL release()
    {
        HGLOBAL b = block;
        block = nullptr;
        return b;
    }
};

// GlobalLock on construction, GlobalUnlock on destruction.
struct GlobalLocked {
    HGLOBAL block;
    void* bytes;
    explicit GlobalLocked(HGLOBAL b) : block(b), bytes(b ? GlobalLock(b) : nullptr) {}
    ~GlobalLocked()
    {
        if (bytes)
            GlobalUnlock(block);
    }
    GlobalLocked(const GlobalLocked&) = delete;
    GlobalLocked& operator=(const GlobalLocked&) = delete;
};
