#pragma once
// A fresh directory per test with the data files written from their compiled-in images.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "test_support.h"

namespace dbtest {

namespace db = platform::db;
namespace clk = platform::clock;
namespace files = platform::files;

inline double Serial(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return clk::SerialFromFields({y, mo, d, h, mi, s});
}

class Db : public ::testing::Test {
 protected:
  void TearDown() override {
    clk::ClearForTest();
    files::ClearFaultsForTest();
  }

  // A data file written from its compiled-in empty image.
  std::string Fresh(const std::string& image) {
    const std::string path = dir.File(image);
    EXPECT_TRUE(testsupport::WriteDataFileFromImage(path, image)) << image;
    return path;
  }

  // An empty encrypted database, for statements that need no table.
  std::string Scratch() {
    const std::string path = dir.File("scratch.dat");
    std::ofstream(path).close();
    return path;
  }

  void OpenFile(db::Connection& c, const std::string& path) {
    ASSERT_EQ(c.Open(db::ConnectionText(path, workmemo::kDatabasePassword)), 1) << c.LastError();
  }

  testsupport::TempDir dir;
};

}  // namespace dbtest
