#pragma once
// The mixed reminders the store benchmarks run on: every repeat mode, interval unit, weekday
// list, lunar date, notice, pause, repeat limit and date range, at times spread over the
// seconds of the day; and a store over a data file of N of them.
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "reminders/store/reminder_record.h"
#include "reminders/store/reminder_store.h"

namespace workmemo::bench {

inline double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return platform::clock::SerialFromFields({y, mo, d, h, mi, s});
}

inline ReminderRecord MixedReminder(int i) {
  ReminderRecord r;
  const double start = At(2024, 1, 1 + i % 28, i % 24, (i / 24) % 60, (i / 7) % 60);
  r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = start;
  r.txfs = i % 9;
  r.txbt = "会议提醒 " + std::to_string(i);
  r.txnr = std::string(120, 'x');
  r.txlx = i % 2 ? "工作" : "个人";
  r.txweek = "2-4-6";
  r.notxweek = i % 3 ? "" : "1-7";
  r.txmonth = std::to_string(1 + i % 12);
  r.txdays = std::to_string(1 + i % 31);
  r.nlyear = 2024;
  r.cfdw = 1 + i % 8;
  r.cfsj = 1 + i % 5;
  if (i % 4 == 0) {
    r.tqsj = 2;
    r.tqdw = 5 + i % 3;
  }
  if (i % 5 == 0) r.jsdate = start + 200;  // a date range
  if (i % 17 == 0) r.txzt = 1;
  if (i % 11 == 0) {
    r.cfcs = 100;
    r.cfcsdw = 1;
  }
  return r;
}

// A store over a data file of `count` mixed reminders, filled once per size and kept for the
// run, loaded at 2024-03-01 00:00:00.
inline ReminderStore& MixedStore(int count) {
  struct Fixture {
    std::string dir;
    ReminderStore store;
  };
  static std::map<int, std::unique_ptr<Fixture>> fixtures;
  auto& f = fixtures[count];
  if (f) return f->store;
  f = std::make_unique<Fixture>();
  f->dir = (std::filesystem::temp_directory_path() / ("workmemo-store-bench-" + std::to_string(count))).string();
  std::filesystem::remove_all(f->dir);
  std::filesystem::create_directories(f->dir);
  const std::string path = f->dir + "/dstx2.dat";
  platform::files::WriteAll(path, *platform::files::ReadResource(":/db/dstx2.dat"));
  f->store.OpenDatabase(path, kDatabasePassword);
  platform::clock::SetForTest(At(2024, 3, 1, 0, 0, 0));
  f->store.Connection().Execute("begin");
  for (int i = 0; i < count; ++i) {
    ReminderRecord r = MixedReminder(i);
    f->store.SaveReminder(r);
  }
  f->store.Connection().Execute("commit");
  f->store.LoadReminders();
  return f->store;
}

}  // namespace workmemo::bench
