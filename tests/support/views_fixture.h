#pragma once
// The editor fixture with the windows beside the editor opened from its menu, as the shell wires
// them (for targets that link corvane_views).

#include "tests/support/editor_fixture.h"
#include "views/view_windows.h"

class ViewsFixture : public EditorFixture {
public:
    ViewsFixture(const testsupport::DataFile& file, const std::vector<doc::NameSlot>& names)
        : EditorFixture(file, names), m_views(document()) {
        window().setViewCommands(&m_views);
    }

    views::ViewWindows& views() { return m_views; }

private:
    views::ViewWindows m_views;
};
