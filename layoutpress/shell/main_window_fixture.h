// The converter's main window made in the test's own process as the program makes it at
// start-up, with the default memories of a fresh sys.sys in the test's empty folder; destroyed
// again, with the memories released, after each case.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/documents/temporary_memory.h"
#include "layoutpress/shell/main_window.h"
#include "layoutpress/shell/shell_state.h"
#include "layoutpress/shell/tabs_panes.h"

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(load_settings("sys.sys"), SettingsOutcome::created);
        std::memset(document_path, 0, sizeof document_path);
        std::memset(document_file_name, 0, sizeof document_file_name);
        binary_length = 0;
        reset_caret[0] = reset_caret[1] = reset_caret[2] = true;
        INITCOMMONCONTROLSEX controls{sizeof controls, 0x1D};
        InitCommonControlsEx(&controls);
        register_main_window_class(GetModuleHandleA(nullptr)); // false when already there
        window = create_main_window(GetModuleHandleA(nullptr));
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }

    void TearDown() override {
        set_storage_request(nullptr);
        if (window != nullptr && IsWindow(window)) {
            DestroyWindow(window);
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        for (TemporaryMemory* buffer :
             {&struct_memory, &text_memory, &byte_memory, &byte_adjust_memory, &char_view_memory}) {
            buffer->release();
        }
    }

    // A click in the middle of the tab, as the user gives it.
    void click_tab(int tab) {
        RECT item;
        ASSERT_TRUE(
            SendMessageA(tab_control, TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&item)));
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageA(tab_control, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(tab_control, WM_LBUTTONUP, 0, at);
    }

    HWND window = nullptr;
};
