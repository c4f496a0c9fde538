// Every module's windows in one main window, as the program registers them: what a change of
// skin leaves on the pages and floating windows.
#include <gtest/gtest.h>

#include <string>

#include "all_modules_fixture.h"
#include "calendar/desktop_clock_window.h"
#include "calendar/skin_panel.h"
#include "due_notes/due_panel.h"
#include "due_notes/notes_panel.h"
#include "reminders/ui/reminder_popup.h"
#include "reminders/ui/today_window.h"

namespace workmemo {
namespace {

using ReskinTest = AllModulesTest;

TEST_F(ReskinTest, PagesKeepTheirRowsAndOnlyTheOpenFloatingWindowsAreRepainted) {
  ProgramDatabases& data = Databases();
  for (int k = 1; k <= 40; ++k) {
    NoteRecordRow note{0, "note " + std::to_string(k), "", "工作", MakeDateTime(2025, 3, 1, 0, 0, 0) + k};
    ASSERT_EQ(InsertNoteRow(data, note, MakeDateTime(2025, 5, 1, 0, 0, 0)), 1);
  }
  for (int k = 1; k <= 60; ++k) {
    ASSERT_EQ(data.DueConnection.Execute("insert into dqsj(khmc,xmmc,dqdate) values ('c','p" + std::to_string(k) +
                                         "','2025-07-01')"),
              1);
  }
  MainWindow& main = LoadProgramMainWindow();
  main.Window().Show();
  QueryNotes();
  FillNotesList(21);
  QueryDueList();
  FillDueList(39);  // the third page of 19 lines
  CallSeam(&ModuleSeams::ShowTodayWindow);
  CallSeam(&ModuleSeams::ShowDesktopClock);
  Pump();
  ASSERT_NE(TodayRemindersWindow(), nullptr);
  ASSERT_NE(DesktopClockWindow(), nullptr);

  ASSERT_TRUE(Seams().ApplySkinToAllWindows);
  Ui().BackgroundPicture = FindSkinEntry("背景图片2");
  Seams().ApplySkinToAllWindows(40);
  EXPECT_EQ(Settings().SkinTransparency, 40);
  EXPECT_EQ(NotesPage().NotesPanelFirstRow, 21);
  EXPECT_EQ(DuePage().DuePanelFirstRow, 39);
  EXPECT_NE(TodayRemindersWindow(), nullptr);
  EXPECT_NE(DesktopClockWindow(), nullptr);
  EXPECT_EQ(LoadedReminderPopup(), nullptr);  // a closed pop-up is not opened by the re-skinning
  EXPECT_FALSE(SkinPanelWindow()->Unit("等待标签").IsVisible());
}

}  // namespace
}  // namespace workmemo
