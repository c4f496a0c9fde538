#include "platform/xls/xls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/text/text.h"
#include "platform/xls/bytes.h"
#include "platform/xls/cfb.h"
#include "test_support.h"

namespace xls = platform::xls;
using platform::text::FromUtf8;
using testsupport::Show;
using xls::Cell;
using xls::CellType;
using xls::Status;

namespace {

// Platform tests are UTF-8 source: Chinese literals go through this to become GB18030.
std::string G(const char* utf8) { return FromUtf8(utf8); }

double When(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return platform::clock::SerialFromFields({y, mo, d, h, mi, s});
}

std::string Fixture(const char* name) {
  auto bytes = platform::files::ReadAll(std::string(XLS_FIXTURES) + "/" + name);
  EXPECT_TRUE(bytes) << name;
  return bytes.value_or("");
}

xls::Workbook Decode(std::string_view bytes) {
  xls::Workbook book;
  xls::Result r = xls::DecodeWorkbook(bytes, book);
  EXPECT_TRUE(r.ok()) << Show(r.message);
  return book;
}

std::string Encode(const xls::Workbook& book) {
  std::string bytes;
  xls::Result r = xls::EncodeWorkbook(book, bytes);
  EXPECT_TRUE(r.ok()) << Show(r.message);
  return bytes;
}

// Cells compared with the date-times shown to the second, texts shown as UTF-8.
void ExpectCell(const Cell& actual, const Cell& expected, const std::string& where) {
  ASSERT_EQ(actual.type, expected.type) << where;
  if (expected.type == CellType::DateTime)
    EXPECT_EQ(platform::clock::FormatStored(actual.number),
              platform::clock::FormatStored(expected.number)) << where;
  else if (expected.type == CellType::Text)
    EXPECT_TRUE(actual.text == expected.text)
        << where << ": " << Show(actual.text.substr(0, 80)) << " (" << actual.text.size()
        << " bytes), expected " << Show(expected.text.substr(0, 80)) << " ("
        << expected.text.size() << " bytes)";
  else
    EXPECT_EQ(actual.number, expected.number) << where;
}

void ExpectRows(const xls::Sheet& sheet, const std::vector<std::vector<Cell>>& rows) {
  ASSERT_EQ(sheet.rows.size(), rows.size()) << Show(sheet.name);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    std::size_t width = std::max(rows[r].size(), sheet.rows[r].size());
    for (std::size_t c = 0; c < width; ++c) {
      Cell empty;
      ExpectCell(sheet.At(r, c), c < rows[r].size() ? rows[r][c] : empty,
                 Show(sheet.name) + " row " + std::to_string(r) + " col " + std::to_string(c));
    }
  }
}

std::string LongCjk() {
  std::string s;
  char buf[8];
  for (int i = 0; i < 3000; ++i) {
    std::snprintf(buf, sizeof buf, "%05d", i);
    s += buf + G("提醒");
  }
  return s;
}

// Fixtures come from an independent writer (tools/xls_fixtures); the same workbook stream is
// stored once with 512-byte and once with 4096-byte sectors.
TEST(XlsFixtures, MainWorkbookReadsToItsValues) {
  for (const char* file : {"main.xls", "sectors4096.xls"}) {
    SCOPED_TRACE(file);
    xls::Workbook book = Decode(Fixture(file));
    ASSERT_EQ(book.sheets.size(), 2u);

    const xls::Sheet* txsj = book.Find("TXSJ");
    ASSERT_NE(txsj, nullptr);
    EXPECT_EQ(txsj->columns, (std::vector<std::string>{"txbt", "ksdate", "cfsj", "bz", "jssj"}));
    EXPECT_EQ(txsj->ColumnIndex("CFSJ"), 2);
    ExpectRows(*txsj, {
        {Cell::Str(G("周会 weekly")), Cell::Date(When(2024, 3, 15, 14, 30, 45)), Cell::Num(3),
         Cell::Str(G("第一行备注")), Cell::Date(When(2024, 3, 16))},
        {Cell::Str(LongCjk()), Cell::Date(When(1999, 12, 31, 23, 59, 59)), Cell::Num(2.5),
         Cell::Str(std::string(9000, 'x'))},
        {Cell::Str("O'Brien \"quoted\""), Cell::Date(When(2024, 2, 29, 0, 0, 1)),
         Cell::Num(-17.25), Cell::Str(G("𠮷野家"))},
        // The empty sheet row before this one is no record.
        {Cell::Null(), Cell::Null(), Cell::Num(1e10)},
    });

    const xls::Sheet* data = book.Find(G("数据表"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->columns[4], G("日期"));
    ExpectRows(*data, {
        // MULRK: integer, negative, hundredths, and a date serial in a date format.
        {Cell::Str("mulrk"), Cell::Num(7), Cell::Num(-3), Cell::Num(1.25),
         Cell::Date(When(2023, 3, 15))},
        // Formulas: text result over STRING + CONTINUE (switching to two-byte characters),
        // empty text, TRUE, a number.
        {Cell::Str("formula"), Cell::Str(std::string(100, 'a') + G("中文结果")), Cell::Str(""),
         Cell::Boolean(true), Cell::Num(42.5)},
        // LABEL records, a BOOLERR, a rich-text shared string.
        {Cell::Str("label"), Cell::Str(G("标签文本")), Cell::Str(""), Cell::Boolean(true),
         Cell::Str(G("富文本"))},
    });
  }
}

TEST(XlsFixtures, Dates1904AndMiniStream) {
  for (const char* file : {"dates1904.xls", "ministream.xls"}) {
    SCOPED_TRACE(file);
    xls::Workbook book = Decode(Fixture(file));
    const xls::Sheet* sheet = book.Find("jsbsj");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->columns, (std::vector<std::string>{"bt", "jsdate"}));
    ExpectRows(*sheet, {{Cell::Str("1904"), Cell::Date(When(2024, 1, 2, 3, 4, 5))}});
  }
}

xls::Workbook Sample() {
  xls::Workbook book;
  xls::Sheet txsj{"txsj", {"txbt", "ksdate", "cfsj", "bz", "flag"}, {}};
  txsj.rows.push_back({Cell::Str(G("会议")), Cell::Date(When(2024, 5, 6, 7, 8, 9)), Cell::Num(3),
                       Cell::Str(""), Cell::Boolean(false)});
  txsj.rows.push_back({Cell::Str("O'Brien"), Cell::Null(), Cell::Num(-0.125),
                       Cell::Str(G("𠮷") + "x"), Cell::Boolean(true)});
  txsj.rows.push_back({Cell::Str(G("会议")), Cell::Date(When(1900, 3, 1)), Cell::Null(),
                       Cell::Str(LongCjk())});
  book.sheets.push_back(std::move(txsj));
  book.sheets.push_back({G("记事"), {"bt", G("内容")}, {{Cell::Str("a"), Cell::Num(1e300)}}});
  return book;
}

TEST(XlsWriter, RoundTripKeepsEveryCell) {
  xls::Workbook book = Sample();
  xls::Workbook back = Decode(Encode(book));
  ASSERT_EQ(back.sheets.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(back.sheets[i].name, book.sheets[i].name);
    EXPECT_EQ(back.sheets[i].columns, book.sheets[i].columns);
    ExpectRows(back.sheets[i], book.sheets[i].rows);
  }
}

// Long shared strings of many lengths, so that the CONTINUE boundaries fall at every kind of
// place: inside one-byte and two-byte characters, between the halves of a surrogate pair,
// and right after a string's header.
TEST(XlsWriter, LongTextsSplitOverContinueRecords) {
  xls::Sheet sheet{"jsbsj", {"nr"}, {}};
  for (int i = 0; i < 24; ++i) {
    std::string piece = i % 3 == 0 ? "a" : i % 3 == 1 ? G("中") : G("𠮷");
    std::string text;
    for (int k = 0; k < 4000 + 37 * i; ++k) text += piece;
    if (i % 3 == 2) text.resize(text.size() - (i % 2));  // an odd cut leaves a '?'
    sheet.rows.push_back({Cell::Str(text)});
  }
  sheet.rows.push_back({Cell::Str(std::string(xls::kMaxTextChars, 'z'))});
  xls::Workbook book{{sheet}};
  xls::Workbook back = Decode(Encode(book));
  ASSERT_EQ(back.sheets.size(), 1u);
  std::vector<std::vector<Cell>> expected = sheet.rows;
  for (auto& row : expected) {
    // A cut character cannot survive conversion; the reader sees what iconv made of it.
    std::string& t = row[0].text;
    t = FromUtf8(platform::text::ToUtf8(t));
  }
  ExpectRows(back.sheets[0], expected);
}

TEST(XlsWriter, RefusesWhatAWorkbookCannotHold) {
  struct Case {
    const char* what;
    xls::Workbook book;
    Status status;
  };
  xls::Sheet tooManyRows{"txsj", {"id"}, std::vector<std::vector<Cell>>(65536, {Cell::Num(1)})};
  xls::Sheet tooWide{"txsj", std::vector<std::string>(257, "c"), {}};
  xls::Sheet longText{"txsj", {"nr"}, {{Cell::Str(std::string(32768, 'a'))}}};
  xls::Sheet longName{"txsj", {std::string(32767, 'a') + G("长")}, {}};
  std::vector<Case> cases = {
      {"65,537 sheet rows", {{tooManyRows}}, Status::TooManyRows},
      {"257 columns", {{tooWide}}, Status::TooManyColumns},
      {"32,768 characters", {{longText}}, Status::TextTooLong},
      {"a column name of 32,768 characters", {{longName}}, Status::TextTooLong},
      {"no sheet", {}, Status::BadSheetName},
      {"empty sheet name", {{xls::Sheet{"", {"a"}, {}}}}, Status::BadSheetName},
      {"32 characters", {{xls::Sheet{std::string(32, 's'), {"a"}, {}}}}, Status::BadSheetName},
      {"slash", {{xls::Sheet{"a/b", {"a"}, {}}}}, Status::BadSheetName},
      {"bracket", {{xls::Sheet{"a[1]", {"a"}, {}}}}, Status::BadSheetName},
      {"same name twice", {{xls::Sheet{"txsj", {}, {}}, xls::Sheet{"TXSJ", {}, {}}}},
       Status::BadSheetName},
  };
  testsupport::TempDir dir;
  for (const Case& c : cases) {
    std::string path = dir.File("out.xls");
    xls::Result r = xls::WriteWorkbook(c.book, path);
    EXPECT_EQ(r.status, c.status) << c.what;
    EXPECT_FALSE(r.message.empty()) << c.what;
    EXPECT_FALSE(platform::files::Exists(path)) << c.what;
  }
  tooManyRows.rows.pop_back();  // 65,536 sheet rows fit
  xls::Workbook full{{tooManyRows}};
  EXPECT_EQ(Decode(Encode(full)).sheets.at(0).rows.size(), 65535u);
  EXPECT_TRUE(xls::WriteWorkbook(xls::Workbook{{xls::Sheet{G("记事本"), {}, {}}}},
                                 dir.File("empty.xls")).ok());
}

TEST(XlsWriter, FailedWriteLeavesTheOldFile) {
  testsupport::TempDir dir;
  std::string path = dir.File("book.xls");
  ASSERT_TRUE(platform::files::WriteAll(path, "old"));
  platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::DiskFull);
  xls::Result r = xls::WriteWorkbook(Sample(), path);
  platform::files::ClearFaultsForTest();
  EXPECT_EQ(r.status, Status::FileError);
  EXPECT_EQ(platform::files::ReadAll(path), "old");
  ASSERT_TRUE(xls::WriteWorkbook(Sample(), path).ok());
  xls::Workbook back;
  EXPECT_TRUE(xls::ReadWorkbook(path, back).ok());
  EXPECT_EQ(back.sheets.size(), 2u);
}

// A stream over 109 FAT sectors (about 7 MB) needs DIFAT sectors.
TEST(XlsCompoundFile, LargeStreamUsesDifatSectors) {
  std::string stream(8 << 20, '\0');
  for (std::size_t i = 0; i < stream.size(); i += 4096) stream[i] = static_cast<char>(i >> 12);
  std::string file = xls::cfb::Build("Workbook", stream);
  EXPECT_GT(xls::bytes::Get32(file, 0x48), 0u);  // DIFAT sectors in use
  std::string back;
  ASSERT_EQ(xls::cfb::ReadStream(file, "workbook", back), xls::cfb::ReadStatus::Ok);
  EXPECT_TRUE(back == stream);
}

std::string Biff5Stream() {
  std::string s;
  xls::bytes::Put16(s, 0x0809);
  xls::bytes::Put16(s, 8);
  xls::bytes::Put16(s, 0x0500);
  xls::bytes::Put16(s, 0x0005);
  xls::bytes::Put32(s, 0);
  xls::bytes::Put16(s, 0x000A);
  xls::bytes::Put16(s, 0);
  return s;
}

TEST(XlsReader, RefusesDamagedAndForeignFiles) {
  const std::string good = Encode(Sample());
  auto patched = [&](std::size_t at, std::uint32_t v) {
    std::string f = good;
    xls::bytes::Set32(f, at, v);
    return f;
  };
  std::string filePass = good;
  std::size_t codePage = filePass.find(std::string("\x42\x00\x02\x00\xB0\x04", 6));
  ASSERT_NE(codePage, std::string::npos);
  filePass[codePage] = 0x2F;
  const std::uint32_t firstFat = xls::bytes::Get32(good, 0x4C);
  const std::size_t fatAt = (firstFat + 1) * 512;
  std::string badRecord = good;  // the first record's length runs past the stream
  badRecord[512 + 2] = '\xFF';
  badRecord[512 + 3] = '\xFF';

  struct Case {
    const char* what;
    std::string bytes;
    Status status;
  };
  std::vector<Case> cases = {
      {"truncated", good.substr(0, good.size() / 2), Status::Damaged},
      {"header only", good.substr(0, 512), Status::Damaged},
      {"cycle in the FAT", patched(fatAt, 0), Status::Damaged},
      {"chain leaves the file", patched(fatAt, 0x00FFFFFF), Status::Damaged},
      {"directory beyond the file", patched(0x30, 0x7FFFFFF0), Status::Damaged},
      {"FAT count beyond the file", patched(0x2C, 0x10000000), Status::Damaged},
      {"record longer than the stream", badRecord, Status::Damaged},
      {"xlsx", std::string("PK\x03\x04\x14\x00\x06\x00", 8) + std::string(600, '\0'), Status::Xlsx},
      {"BIFF5 Book stream", xls::cfb::Build("Book", Biff5Stream()), Status::OldFormat},
      {"BIFF5 Workbook stream", xls::cfb::Build("Workbook", Biff5Stream()), Status::OldFormat},
      {"FILEPASS", filePass, Status::Encrypted},
      {"other stream only", xls::cfb::Build("Data", Biff5Stream()), Status::NotWorkbook},
      {"plain text", std::string(1000, 'a'), Status::NotWorkbook},
      {"empty", "", Status::NotWorkbook},
  };
  for (const Case& c : cases) {
    xls::Workbook book;
    xls::Result r = xls::DecodeWorkbook(c.bytes, book);
    EXPECT_EQ(r.status, c.status) << c.what;
    EXPECT_FALSE(r.message.empty()) << c.what;
    EXPECT_TRUE(book.sheets.empty()) << c.what;
  }
  xls::Workbook book;
  EXPECT_EQ(xls::ReadWorkbook("/nonexistent/dir/a.xls", book).status, Status::FileError);
  // A device that never ends is refused, not read until memory runs out.
  EXPECT_EQ(xls::ReadWorkbook("/dev/zero", book).status, Status::FileError);
}

}  // namespace
