#include "base/handles.h"

#include <gtest/gtest.h>

namespace {

bool EventIsOpen(HANDLE event) {
    DWORD flags = 0;
    return GetHandleInformation(event, &flags) != FALSE;
}

HANDLE NewEvent() {
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

TEST(Handles_Kernel, ClosesWhatItOwnsAtTheEndOfItsScope) {
    HANDLE raw = nullptr;
    {
        UniqueHandle event(NewEvent());
        raw = event.get();
        ASSERT_TRUE(event);
        EXPECT_TRUE(EventIsOpen(raw));
    }
    EXPECT_FALSE(EventIsOpen(raw));
}

TEST(Handles_Kernel, AMoveHandsOverOwnershipAndReleaseGivesItAway) {
    UniqueHandle first(NewEvent());
    const HANDLE raw = first.get();
    UniqueHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), raw);
    const HANDLE released = second.release();
    EXPECT_FALSE(second);
    EXPECT_TRUE(EventIsOpen(released));
    CloseHandle(released);
}

TEST(Handles_Kernel, ResetClosesTheOldHandleAndInvalidValueOwnsNothing) {
    UniqueHandle event(NewEvent());
    const HANDLE old = event.get();
    event.reset(NewEvent());
    EXPECT_FALSE(EventIsOpen(old));
    EXPECT_TRUE(EventIsOpen(event.get()));
    EXPECT_FALSE(UniqueHandle(INVALID_HANDLE_VALUE));
}

TEST(Handles_RegKey, ReceiveFillsTheKeyAndTheScopeClosesIt) {
    HKEY raw = nullptr;
    {
        UniqueRegKey key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.receive()),
                  ERROR_SUCCESS);
        raw = key.get();
        EXPECT_EQ(RegQueryInfoKeyA(raw, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
    }
    EXPECT_NE(RegQueryInfoKeyA(raw, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}

TEST(Handles_Gdi, ABrushIsDeletedAndASelectionPutBack) {
    HBRUSH raw = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ before = GetCurrentObject(dc, OBJ_BRUSH);
    {
        UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
        raw = brush.get();
        SelectedObject selected(dc, brush.get());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), HGDIOBJ(raw));
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), before);
    EXPECT_EQ(GetObjectType(raw), 0u);
    DeleteDC(dc);
}

} // namespace
