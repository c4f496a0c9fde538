// Crash runs against a child process:
//   crash_runs [--runs N] [--seed S] [--min-ms A] [--max-ms B]
// Each run starts this program again as a child that saves reminders, notes and due-date
// items, writes config.ini, backs up, restores, compacts and exports without pause, each
// step written to a journal once it is done; the child is killed with SIGKILL after a random
// A to B milliseconds (100 to 2000 unless given). Then: the three data files open with the password and pass the integrity
// check, every step the journal calls done is there, config.ini holds the old or the new
// value, no backup or workbook under its final name is half-written, and the next start
// loads. Exits 1 when any check fails.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/database_constants.h"
#include "maintenance/maintenance_operations.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/xls/xls.h"
#include "reminders/store/calendar.h"
#include "reminders/store/reminder_record.h"
#include "shell/data_files.h"
#include "shell/notes_table.h"
#include "shell/settings.h"
#include "shell/shell_services.h"

namespace fs = std::filesystem;
namespace db = platform::db;

namespace {

constexpr const char* kFiles[] = {"dstx2.dat", "dqtx2.dat", "jsb2.dat"};
constexpr const char* kTables[] = {"txsj", "dqsj", "jsbsj"};

void OpenProgramFiles(const fs::path& dir) {
  workmemo::ProgramDatabases& data = workmemo::Databases();
  data.TimedReminderDbPath = (dir / "data" / kFiles[0]).string();
  data.DueDbPath = (dir / "data" / kFiles[1]).string();
  data.NotesDbPath = (dir / "data" / kFiles[2]).string();
  data.DatabasePassword = workmemo::kDatabasePassword;
  data.Reminders.OpenDatabase(data.TimedReminderDbPath, data.DatabasePassword);
  data.DueConnection.Open(db::ConnectionText(data.DueDbPath, data.DatabasePassword));
  data.NotesConnection.Open(db::ConnectionText(data.NotesDbPath, data.DatabasePassword));
  data.Reminders.LoadReminders();
}

// --- The child ---------------------------------------------------------------------------

class Journal {
 public:
  explicit Journal(const fs::path& path) : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644)) {}
  void Done(const std::string& line) {
    const std::string text = line + "\n";
    if (::write(fd_, text.data(), text.size()) < 0) std::_Exit(3);
    ::fsync(fd_);
  }

 private:
  int fd_;
};

int Child(const fs::path& dir, int run) {
  ::setenv("WORKMEMO_HOME", dir.c_str(), 1);
  workmemo::Services().ShowMessageBox = [](std::string_view) {};
  OpenProgramFiles(dir);
  workmemo::ProgramDatabases& data = workmemo::Databases();
  Journal journal(dir / "journal.txt");
  std::mt19937 random(static_cast<unsigned>(run));
  const double day = workmemo::MakeDateTime(2024, 6, 1, 9, 0, 0);
  using workmemo::DataKind;
  const DataKind kinds[] = {DataKind::Timed, DataKind::Due, DataKind::Notes};
  const char* extensions[] = {".dstx2bak", ".dqtx2bak", ".jsb2bak"};
  for (int n = 0;; ++n) {
    const std::string name = "r" + std::to_string(run) + "-" + std::to_string(n);
    const int kind = static_cast<int>(random() % 3);
    switch (random() % 8) {
      case 0:
      case 1: {
        workmemo::ReminderRecord r;
        r.txfs = workmemo::RepeatMode::Daily;
        r.ksdate = r.kstime = r.txdate = day + n % 30;
        r.jsdate = r.jstime = day + 365;
        r.txbt = name;
        r.txnr = std::string(200 + n % 700, 'x');
        if (data.Reminders.SaveReminder(r) == 1) journal.Done("R " + name);
        break;
      }
      case 2: {
        workmemo::NoteRecordRow note{0, name, std::string(300 + n % 900, 'n'), "工作", day};
        if (workmemo::InsertNoteRow(data, note, day) == 1) journal.Done("N " + name);
        break;
      }
      case 3:
        if (data.DueConnection.Execute("insert into dqsj(khmc,xmmc,dqdate) values ('c','" + name +
                                       "','2024-07-01')") == 1)
          journal.Done("D " + name);
        break;
      case 4:
        journal.Done("C? " + name);
        if (workmemo::StoreConfigItem("crash", "value", name)) journal.Done("C " + name);
        break;
      case 5: {
        const std::string target = (dir / "backups" / (name + extensions[kind])).string();
        if (workmemo::BackupDataTo(kinds[kind], target) == nullptr) journal.Done("B " + name);
        break;
      }
      case 6: {
        // A restore of the backup just made: the data stays what it was.
        const std::string target = (dir / "backups" / (name + extensions[kind])).string();
        if (workmemo::BackupDataTo(kinds[kind], target) == nullptr) {
          workmemo::RestoreChosenFile(kinds[kind], target);
          journal.Done("T " + name);
        }
        if (random() % 2 == 0) {
          bool reopened = false;
          if (workmemo::CompactLiveData(kinds[kind], &reopened) == 0) journal.Done("K " + name);
        }
        break;
      }
      default:
        if (workmemo::ExportDataTo(kinds[kind], (dir / "books" / (name + ".xls")).string()) == nullptr)
          journal.Done("E " + name);
        break;
    }
  }
}

// --- The parent ----------------------------------------------------------------------------

struct Tally {
  int failures = 0;
  long rowsChecked = 0;
  long backupsChecked = 0;
  long workbooksChecked = 0;
  long leftovers = 0;
  void Fail(int run, const std::string& what) {
    ++failures;
    std::fprintf(stderr, "run %d: %s\n", run, what.c_str());
  }
};

bool HasRow(db::Connection& c, const std::string& sql) {
  db::RecordSet rs;
  return rs.Open(c, sql) == 1 && !rs.Eof() && rs.IntegerAt(1) > 0;
}

void Check(const fs::path& dir, int run, Tally& tally) {
  db::Connection files[3];
  for (int i = 0; i < 3; ++i) {
    const std::string path = (dir / "data" / kFiles[i]).string();
    if (files[i].Open(db::ConnectionText(path, workmemo::kDatabasePassword)) != 1 || !files[i].HasTable(kTables[i]) ||
        files[i].QuickCheck() != 1) {
      tally.Fail(run, std::string("data file fails to open or its check: ") + kFiles[i]);
    }
  }
  std::ifstream journal(dir / "journal.txt");
  std::string line;
  std::string lastConfig, pendingConfig;
  while (std::getline(journal, line)) {
    const std::string tag = line.substr(0, line.find(' '));
    const std::string name = line.substr(line.find(' ') + 1);
    const auto expect = [&](db::Connection& c, const std::string& sql) {
      ++tally.rowsChecked;
      if (!HasRow(c, sql)) tally.Fail(run, "lost: " + line);
    };
    if (tag == "R") expect(files[0], "select count(*) from txsj where txbt='" + name + "'");
    if (tag == "D") expect(files[1], "select count(*) from dqsj where xmmc='" + name + "'");
    if (tag == "N") expect(files[2], "select count(*) from jsbsj where bt='" + name + "'");
    if (tag == "C") lastConfig = name, pendingConfig.clear();
    if (tag == "C?") pendingConfig = name;
  }
  const std::string stored = workmemo::AccessConfigItem("crash", "value", {}, true);
  if (stored != lastConfig && stored != pendingConfig)
    tally.Fail(run, "config.ini holds \"" + stored + "\", neither \"" + lastConfig + "\" nor \"" + pendingConfig + "\"");
  for (const auto& entry : fs::directory_iterator(dir / "backups")) {
    const std::string path = entry.path().string();
    if (entry.path().extension() == ".tmp") {
      ++tally.leftovers;
      fs::remove(entry.path());
      continue;
    }
    const std::string ext = entry.path().extension().string();
    const char* table = ext == ".dstx2bak" ? "txsj" : ext == ".dqtx2bak" ? "dqsj" : "jsbsj";
    db::Connection copy;
    ++tally.backupsChecked;
    if (copy.Open(db::ConnectionText(path, workmemo::kDatabasePassword)) != 1 || !copy.HasTable(table) ||
        copy.QuickCheck() != 1)
      tally.Fail(run, "half-written backup: " + path);
    copy.Close();
    fs::remove(entry.path());  // keeps the folder small; each was checked once
  }
  for (const auto& entry : fs::directory_iterator(dir / "books")) {
    if (entry.path().extension() == ".tmp") {
      ++tally.leftovers;
      fs::remove(entry.path());
      continue;
    }
    platform::xls::Workbook book;
    ++tally.workbooksChecked;
    if (!platform::xls::ReadWorkbook(entry.path().string(), book).ok()) tally.Fail(run, "half-written workbook: " + entry.path().string());
    fs::remove(entry.path());
  }
  for (const auto& entry : fs::directory_iterator(dir / "data")) {
    if (entry.path().extension() != ".tmp") continue;
    ++tally.leftovers;
    fs::remove(entry.path());
  }
  // The next start: the files open and every reminder loads.
  workmemo::ReminderStore store;
  if (store.OpenDatabase((dir / "data" / kFiles[0]).string(), workmemo::kDatabasePassword) != 1 ||
      store.LoadReminders() != 1)
    tally.Fail(run, "the next start cannot load the reminders");
}

int Parent(int runs, unsigned seed, int minMs, int maxMs, const char* self) {
  const fs::path dir = fs::temp_directory_path() / ("workmemo-crash-runs-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  for (const char* sub : {"data", "backups", "books"}) fs::create_directories(dir / sub);
  for (const char* file : kFiles)
    platform::files::WriteAll((dir / "data" / file).string(), *platform::files::ReadResource(std::string(":/db/") + file));
  ::setenv("WORKMEMO_HOME", dir.c_str(), 1);
  std::mt19937 random(seed);
  Tally tally;
  for (int run = 1; run <= runs; ++run) {
    const pid_t child = ::fork();
    if (child == 0) {
      const std::string runText = std::to_string(run);
      ::execl(self, self, "--child", dir.c_str(), runText.c_str(), static_cast<char*>(nullptr));
      std::_Exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(minMs + random() % (maxMs - minMs + 1)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFSIGNALED(status)) tally.Fail(run, "the child ended before it was killed");
    Check(dir, run, tally);
  }
  std::printf("crash runs %d: rows checked %ld, backups checked %ld, workbooks checked %ld, "
              "temporary files a kill left beside their targets %ld; failures %d\n",
              runs, tally.rowsChecked, tally.backupsChecked, tally.workbooksChecked, tally.leftovers, tally.failures);
  fs::remove_all(dir);
  return tally.failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--child") return Child(argv[2], std::atoi(argv[3]));
  int runs = 100;
  unsigned seed = 1;
  int minMs = 100;
  int maxMs = 2000;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    const int value = std::atoi(argv[i + 1]);
    if (arg == "--runs") runs = value;
    else if (arg == "--seed") seed = static_cast<unsigned>(value);
    else if (arg == "--min-ms") minMs = value;
    else if (arg == "--max-ms") maxMs = value;
  }
  if (runs < 1 || minMs < 0 || maxMs < minMs) {
    std::fprintf(stderr, "usage: crash_runs [--runs N] [--seed S] [--min-ms A] [--max-ms B]\n");
    return 2;
  }
  return Parent(runs, seed, minMs, maxMs, "/proc/self/exe");
}
