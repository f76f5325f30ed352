#include "viewer/formtop.h"

#include "forms/runtime.h"
#include "forms/system.h"
#include "win32/win32.h"

namespace viewer {

std::int32_t SetFormTop(forms::Form &form, const std::int16_t &flag)
{
    const win32::HWND hWnd = win32::HWND(form.hWnd());
    win32::HWND insertAfter;
    if (flag == 0)
        insertAfter = win32::HWND_NOTOPMOST;
    else if (flag == 1)
        insertAfter = win32::HWND_TOPMOST;
    else
        return 0;
    return forms::callDeclared([&] {
        return win32::SetWindowPos(hWnd, insertAfter, 0, 0, 0, 0,
            win32::SWP_NOSIZE | win32::SWP_NOMOVE | win32::SWP_SHOWWINDOW);
    });
}

} // namespace viewer
