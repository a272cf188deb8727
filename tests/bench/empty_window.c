/* The baseline of Quarvel's benchmark: a windowed program that shows one empty window and
   runs its message loop until the window is closed. */
#include <windows.h>

static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    WNDCLASSA window_class = {0};
    HWND hwnd;
    MSG message;
    (void)previous;
    (void)command_line;
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(NULL, IDC_ARROW);
    window_class.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    window_class.lpszClassName = "EmptyWindow";
    RegisterClassA(&window_class);
    hwnd = CreateWindowA("EmptyWindow", "Baseline", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                         1088, 336, 416, 444, NULL, NULL, instance, NULL);
    ShowWindow(hwnd, show);
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
