#pragma once
// A timed-reminder store opened on a fresh data file written from the compiled-in image,
// and a second connection to look at the rows as the table holds them.
#include <gtest/gtest.h>

#include <string>

#include "common/database_constants.h"
#include "fixtures.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "reminders/store/reminder_store.h"
#include "test_support.h"

namespace workmemo::testing {

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.File("dstx2.dat");
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "dstx2.dat"));
    ASSERT_EQ(store.OpenDatabase(path, kDatabasePassword), 1);
  }
  void TearDown() override { platform::clock::ClearForTest(); }

  // The stored row of one id, read past the store.
  platform::db::RecordSet Row(int id) {
    platform::db::RecordSet rs;
    rs.Open(store.Connection(), "select * from txsj where id=" + std::to_string(id));
    return rs;
  }

  // Saves a new reminder at the clock's now and gives its id.
  int Add(ReminderRecord r) {
    r.id = 0;
    EXPECT_EQ(store.SaveReminder(r), 1);
    return r.id;
  }

  testsupport::TempDir dir;
  std::string path;
  ReminderStore store;
};

}  // namespace workmemo::testing
