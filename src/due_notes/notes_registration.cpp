#include "due_notes/notes_registration.h"

#include "due_notes/note_editor.h"
#include "due_notes/notes_panel.h"
#include "platform/clock/clock.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/data_files.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"

namespace workmemo {

namespace {

// A few notes of the kinds the page shows, written once; the id of the one the editor changes.
int AddSampleNotes() {
  static int changed = 0;
  if (changed != 0) return changed;
  const double today = static_cast<int>(platform::clock::Now());
  struct Sample {
    int days;
    const char* type;
    const char* title;
    const char* content;
  };
  const Sample samples[] = {
      {-40, "工作", "季度工作总结", "一、完成的项目\r\n二、存在的问题\r\n三、下季度计划"},
      {-21, "会议", "周一例会纪要", "讨论了新版本的发布时间和测试安排。"},
      {-9, "生活", "购物清单", "牛奶、面包、鸡蛋、水果"},
      {-3, "普通记事", "读书笔记：时间管理的七个习惯，每天记下最重要的三件事并按顺序完成，把不急的事放到周末统一处理，周日休息",
       "摘录若干段落。"},
      {0, "工作事务安排计划提醒", "客户回访名单\r\n第二行", "张先生、李女士"},
      {2, "会议", "项目启动会议", "地点：三楼会议室"},
  };
  for (const Sample& s : samples) {
    NoteRecordRow note{0, s.title, s.content, s.type, today + s.days};
    InsertNoteRow(Databases(), note, today);
    if (std::string_view(s.title) == "购物清单") changed = note.id;
  }
  return changed;
}

}  // namespace

void RegisterNotesUi() {
  RegisterPageLoader(std::string(kNotesPanelName), [](MainWindow& main) {
    LoadedPage loaded;
    loaded.window = platform::ui::Window::Load(kNotesPanelName);
    SetNotesPanelHost(PanelHostIn(main));
    SetUpNotesPanel(*loaded.window);
    loaded.Layout = LayoutNotesPanel;
    return loaded;
  });
  ModuleSeams& seams = Seams();
  seams.RelayoutForSkin.push_back({kSkinNotesPage, [] {
                                     if (NotesPanelWindow() == nullptr) return;
                                     LayoutNotesPanel();
                                     FillNotesList(NotesPage().NotesPanelFirstRow);
                                   }});
  seams.ListFontChanged.push_back([] {
    if (NotesPanelWindow() == nullptr) return;
    SetNotesListHeaders();
    FillNotesList(NotesPage().NotesPanelFirstRow);
  });
  seams.CloseLoadedWindows.push_back(CloseNoteEditor);
  seams.AppendNoteToNotesPage = AppendNoteToNotesPanel;
  seams.RefreshNotesPage = RefreshNotesPanel;
}

std::vector<std::pair<std::string, NotesWindowSetup>> NotesWindowSetups(std::function<MainWindow&()> hostMainWindow) {
  namespace ui = platform::ui;
  const auto page = [hostMainWindow](ui::Window& window) {
    MainWindow& main = hostMainWindow();
    main.Load();
    AddSampleNotes();
    PanelHost host = PanelHostIn(main);
    host.mainWindow = nullptr;  // the tool draws the page as a window of its own
    SetNotesPanelHost(host);
    SetUpNotesPanel(window);
    window.On({}, ui::Event::Created, [&window](ui::EventArgs&) {
      LoadNotesPanel();
      NotesList().SelectRowOfSprite(NotesList().RowSprite(2));
      // The query frame opened from its stand-in, with a search typed.
      auto& bar = window.UnitAs<ui::AnimationBox>(kNotesBarBox);
      ui::EventArgs release;
      release.objectId = bar.FindObject(kNotesQueryFrameSprite);
      window.Fire(kNotesBarBox, ui::Event::ObjectLeftUp, release);
      window.Unit(kNotesQueryBox).SetText("会议");
    });
  };
  const auto editor = [hostMainWindow](bool change) {
    return [hostMainWindow, change](ui::Window& window) {
      hostMainWindow();
      const int id = AddSampleNotes();
      NotesPage().SelectedNoteId = change ? id : 0;
      SetUpNoteEditor(window);
      window.On({}, ui::Event::Created, [&window, change](ui::EventArgs&) {
        LoadNoteEditor();
        if (change) {
          window.UnitAs<ui::PictureButton>("月历下拉按钮1").Click();
          return;
        }
        window.Unit("记事本类型框").SetText("会议");
        window.Unit("标题框").SetText("周五部门例会");
        window.Unit("记事框").SetText("1. 本周工作进展\r\n2. 下周工作安排\r\n3. 其他事项");
      });
    };
  };
  return {
      {std::string(kNotesPanelName), page},
      {std::string(kNoteEditorName), editor(false)},
      {std::string(kNoteEditorName) + ":修改", editor(true)},
  };
}

}  // namespace workmemo
