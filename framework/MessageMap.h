#pragma once
#include <windows.h>
#include <windowsx.h>
#include <cstddef>

#include "Gdi.h"
#include "Geometry.h"

class CWnd;

// One row of a class's message table: a message (and command id for WM_COMMAND) and the thunk
// that unpacks wParam/lParam for the bound member handler.
using MessageThunk = LRESULT (*)(CWnd* pWnd, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT nMessage;
    UINT nID;
    MessageThunk pfn;
};

struct MessageMap {
    const MessageMap* pBaseMap;
    const MessageMapEntry* pEntries;
    size_t nCount;
};

// Thunks, chosen by the handler's signature.
template <auto F> struct MessageThunkOf;

template <class T, void (T::*F)()> struct MessageThunkOf<F> {
    static LRESULT Call(CWnd* p, WPARAM, LPARAM) {
        (static_cast<T*>(p)->*F)();
        return 0;
    }
};

template <class T, HCURSOR (T::*F)()> struct MessageThunkOf<F> {
    static LRESULT Call(CWnd* p, WPARAM, LPARAM) {
        return reinterpret_cast<LRESULT>((static_cast<T*>(p)->*F)());
    }
};

// Pointer messages: key flags in wParam, client coordinates in lParam.
template <class T, void (T::*F)(UINT, CPoint)> struct MessageThunkOf<F> {
    static LRESULT Call(CWnd* p, WPARAM wParam, LPARAM lParam) {
        (static_cast<T*>(p)->*F)(static_cast<UINT>(wParam),
                                 CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    }
};

template <class T, void (T::*F)(BOOL, UINT)> struct MessageThunkOf<F> {
    static LRESULT Call(CWnd* p, WPARAM wParam, LPARAM lParam) {
        (static_cast<T*>(p)->*F)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        return 0;
    }
};

template <class T, void (T::*F)(UINT_PTR)> struct MessageThunkOf<F> {
    static LRESULT Call(CWnd* p, WPARAM wParam, LPARAM) {
        (static_cast<T*>(p)->*F)(static_cast<UINT_PTR>(wParam));
        return 0;
    }
};

template <class T, BOOL (T::*F)(CDC*)> struct MessageThunkOf<F> {
    static LRESULT Call(CWnd* p, WPARAM wParam, LPARAM) {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        BOOL bResult = (static_cast<T*>(p)->*F)(&dc);
        dc.Detach();
        return bResult;
    }
};

template <class T, void (T::*F)(int, LPDRAWITEMSTRUCT)> struct MessageThunkOf<F> {
    static LRESULT Call(CWnd* p, WPARAM wParam, LPARAM lParam) {
        (static_cast<T*>(p)->*F)(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
};

template <class T, void (T::*F)(int, LPMEASUREITEMSTRUCT)> struct MessageThunkOf<F> {
    static LRESULT Call(CWnd* p, WPARAM wParam, LPARAM lParam) {
        (static_cast<T*>(p)->*F)(static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        return TRUE;
    }
};

template <UINT M, auto F> constexpr MessageMapEntry OnMessage() {
    return {M, 0, &MessageThunkOf<F>::Call};
}
template <UINT ID, auto F> constexpr MessageMapEntry OnCommand() {
    return {WM_COMMAND, ID, &MessageThunkOf<F>::Call};
}
