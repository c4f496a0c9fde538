// Writes BIFF8 workbooks: a globals substream (fonts, formats, styles, sheet list, shared
// strings) followed by one worksheet substream per sheet.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <unordered_map>

#include "platform/xls/bytes.h"
#include "platform/xls/cfb.h"
#include "platform/xls/internal.h"

namespace platform::xls {
namespace {

using bytes::Put16;
using bytes::Put32;
using bytes::Put8;
using namespace internal;

constexpr unsigned kDateTimeFormat = 164;  // first number of a custom number format
constexpr unsigned kCellXf = 15;           // the default cell format after 15 style formats
constexpr unsigned kDateTimeXf = 16;

void PutRecord(std::string& out, unsigned type, std::string_view body) {
  Put16(out, type);
  Put16(out, static_cast<unsigned>(body.size()));
  out += body;
}

// BOF of a BIFF8 substream: version, kind, build and year of the writing program, history
// flags, lowest version able to read it.
void PutBof(std::string& out, unsigned kind) {
  std::string body;
  Put16(body, kBiff8);
  Put16(body, kind);
  Put16(body, 0x0DBB);
  Put16(body, 0x07CC);
  Put32(body, 0);
  Put32(body, 6);
  PutRecord(out, kBof, body);
}

bool Compressible(std::u16string_view s) {
  for (char16_t c : s)
    if (c > 0xFF) return false;
  return true;
}

void PutChars(std::string& out, std::u16string_view s, bool compressed) {
  for (char16_t c : s) compressed ? Put8(out, c) : Put16(out, c);
}

// Text with a 1-byte (sheet and font names) or 2-byte length, then the option flags.
void PutString(std::string& out, std::u16string_view s, bool shortLength) {
  shortLength ? Put8(out, static_cast<unsigned>(s.size())) : Put16(out, static_cast<unsigned>(s.size()));
  bool compressed = Compressible(s);
  Put8(out, compressed ? 0 : 1);
  PutChars(out, s, compressed);
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The shared string table: one SST record and as many CONTINUE records as it takes. A
// string's characters may run on into the next record, which then starts with the string's
// option flags again; a surrogate pair is never split. Every 8th string's position goes
// into EXTSST.
class SstWriter {
 public:
  SstWriter(std::string& out, std::size_t total, std::size_t unique) : out_(out) {
    Put32(cur_, static_cast<std::uint32_t>(total));
    Put32(cur_, static_cast<std::uint32_t>(unique));
    bucket_ = std::max<std::size_t>(8, unique / 128 + 1);
  }

  void Add(std::u16string_view s) {
    bool compressed = Compressible(s);
    std::size_t cs = compressed ? 1 : 2;
    if (Room() < 3 + cs) Flush();
    if (count_++ % bucket_ == 0) {
      Put32(ext_, static_cast<std::uint32_t>(out_.size() + 4 + cur_.size()));
      Put16(ext_, static_cast<unsigned>(4 + cur_.size()));
      Put16(ext_, 0);
    }
    Put16(cur_, static_cast<unsigned>(s.size()));
    Put8(cur_, compressed ? 0 : 1);
    for (std::size_t i = 0; i < s.size();) {
      std::size_t k = std::min(s.size() - i, Room() / cs);
      if (k > 0 && k < s.size() - i && !compressed && IsHighSurrogate(s[i + k - 1])) --k;
      if (k == 0) {
        Flush();
        Put8(cur_, compressed ? 0 : 1);
        continue;
      }
      PutChars(cur_, s.substr(i, k), compressed);
      i += k;
    }
  }

  void Finish() {
    Flush();
    std::string ext;
    Put16(ext, static_cast<unsigned>(bucket_));
    ext += ext_;
    PutRecord(out_, kExtSst, ext);
  }

 private:
  std::size_t Room() const { return kMaxRecordBody - cur_.size(); }
  void Flush() {
    PutRecord(out_, first_ ? kSst : kContinue, cur_);
    cur_.clear();
    first_ = false;
  }

  std::string& out_;
  std::string cur_, ext_;
  bool first_ = true;
  std::size_t bucket_ = 8, count_ = 0;
};

class Encoder {
 public:
  Result Encode(const Workbook& book, std::string& bytes) {
    if (book.sheets.empty()) return Fail(Status::BadSheetName);
    std::vector<std::string> sheetStreams;
    std::vector<std::u16string> names;
    for (const Sheet& sheet : book.sheets) {
      Result r = CheckName(sheet, names);
      if (!r.ok()) return r;
      sheetStreams.emplace_back();
      r = EncodeSheet(sheet, sheetStreams.size() == 1, sheetStreams.back());
      if (!r.ok()) return r;
    }
    std::vector<std::size_t> offsetAt;
    std::string stream = Globals(names, offsetAt);
    for (std::size_t i = 0; i < sheetStreams.size(); ++i) {
      bytes::Set32(stream, offsetAt[i], static_cast<std::uint32_t>(stream.size()));
      stream += sheetStreams[i];
    }
    bytes = cfb::Build("Workbook", stream);
    return {};
  }

 private:
  Result CheckName(const Sheet& sheet, std::vector<std::u16string>& names) {
    std::u16string name = ToUtf16(sheet.name);
    bool bad = name.empty() || name.size() > 31;
    for (char16_t c : name) bad = bad || std::u16string_view(u":\\/?*[]").find(c) != std::u16string_view::npos;
    for (const std::u16string& other : names) {
      bool same = other.size() == name.size();
      for (std::size_t i = 0; same && i < name.size(); ++i)
        same = (other[i] < 0x80 ? std::tolower(other[i]) : other[i]) ==
               (name[i] < 0x80 ? std::tolower(name[i]) : name[i]);
      bad = bad || same;
    }
    if (bad) return Fail(Status::BadSheetName, sheet.name);
    names.push_back(std::move(name));
    return {};
  }

  // The index of a text in the shared string table, added when new.
  Result Shared(const Sheet& sheet, std::size_t row, std::size_t col, std::string_view text,
                std::uint32_t& index) {
    std::u16string s = ToUtf16(text);
    if (s.size() > kMaxTextChars)
      return Fail(Status::TextTooLong, sheet.name + " R" + std::to_string(row + 1) + "C" +
                                           std::to_string(col + 1));
    auto [it, added] = index_.try_emplace(std::move(s), static_cast<std::uint32_t>(strings_.size()));
    if (added) strings_.push_back(&it->first);
    ++total_;
    index = it->second;
    return {};
  }

  static void PutCellHead(std::string& body, std::size_t row, std::size_t col, unsigned xf) {
    Put16(body, static_cast<unsigned>(row));
    Put16(body, static_cast<unsigned>(col));
    Put16(body, xf);
  }

  Result EncodeSheet(const Sheet& sheet, bool active, std::string& out) {
    std::size_t width = sheet.columns.size();
    for (const auto& row : sheet.rows) width = std::max(width, row.size());
    if (sheet.rows.size() + 1 > kMaxRows) return Fail(Status::TooManyRows, sheet.name);
    if (width > kMaxColumns) return Fail(Status::TooManyColumns, sheet.name);

    PutBof(out, kWorksheet);
    std::string body;
    Put32(body, 0);
    Put32(body, width ? static_cast<std::uint32_t>(sheet.rows.size() + 1) : 0);
    Put16(body, 0);
    Put16(body, static_cast<unsigned>(width));
    Put16(body, 0);
    PutRecord(out, kDimensions, body);

    for (std::size_t col = 0; col < sheet.columns.size(); ++col) {
      std::uint32_t index;
      Result r = Shared(sheet, 0, col, sheet.columns[col], index);
      if (!r.ok()) return r;
      body.clear();
      PutCellHead(body, 0, col, kCellXf);
      Put32(body, index);
      PutRecord(out, kLabelSst, body);
    }
    for (std::size_t row = 0; row < sheet.rows.size(); ++row) {
      const auto& cells = sheet.rows[row];
      for (std::size_t col = 0; col < cells.size(); ++col) {
        const Cell& cell = cells[col];
        body.clear();
        switch (cell.type) {
          case CellType::Empty:
            continue;
          case CellType::Number:
          case CellType::DateTime:
            // A cell cannot hold an infinity or NaN; such a value is left out like NULL.
            if (!std::isfinite(cell.number)) continue;
            PutCellHead(body, row + 1, col, cell.type == CellType::DateTime ? kDateTimeXf : kCellXf);
            bytes::PutDouble(body, cell.number);
            PutRecord(out, kNumber, body);
            break;
          case CellType::Text: {
            std::uint32_t index;
            Result r = Shared(sheet, row + 1, col, cell.text, index);
            if (!r.ok()) return r;
            PutCellHead(body, row + 1, col, kCellXf);
            Put32(body, index);
            PutRecord(out, kLabelSst, body);
            break;
          }
          case CellType::Bool:
          case CellType::Error:
            PutCellHead(body, row + 1, col, kCellXf);
            Put8(body, static_cast<unsigned>(cell.number));
            Put8(body, cell.type == CellType::Error ? 1 : 0);
            PutRecord(out, kBoolErr, body);
            break;
        }
      }
    }
    body.clear();
    Put16(body, active ? 0x06B6 : 0x00B6);  // grid, headers, zeros, outline; selected
    Put16(body, 0);
    Put16(body, 0);
    Put32(body, 0x40);
    Put16(body, 0);
    Put16(body, 0);
    Put32(body, 0);
    PutRecord(out, kWindow2, body);
    PutRecord(out, kEof, {});
    return {};
  }

  static void PutXf(std::string& out, unsigned format, bool style, unsigned usedAttributes) {
    std::string body;
    Put16(body, 0);
    Put16(body, format);
    Put16(body, style ? 0xFFF5 : 0x0001);  // locked; a style has no parent
    Put8(body, 0x20);                      // bottom aligned
    Put8(body, 0);
    Put8(body, 0);
    Put8(body, usedAttributes);
    Put32(body, 0);
    Put32(body, 0);
    Put16(body, 0x20C0);  // pattern colours: automatic
    PutRecord(out, kXf, body);
  }

  std::string Globals(const std::vector<std::u16string>& names, std::vector<std::size_t>& offsetAt) {
    std::string out, body;
    PutBof(out, kGlobals);
    Put16(body, 1200);  // UTF-16
    PutRecord(out, kCodePage, body);
    body.clear();
    Put16(body, 0);
    Put16(body, 0);
    Put16(body, 0x3000);
    Put16(body, 0x2000);
    Put16(body, 0x0038);
    Put16(body, 0);
    Put16(body, 0);
    Put16(body, 1);
    Put16(body, 0x0258);
    PutRecord(out, kWindow1, body);
    body.clear();
    Put16(body, 0);  // dates count from 1899-12-30
    PutRecord(out, kDateMode, body);
    // Font 4 does not exist in a workbook: five records make fonts 0-3 and 5.
    for (int i = 0; i < 5; ++i) {
      body.clear();
      Put16(body, 200);
      Put16(body, 0);
      Put16(body, 0x7FFF);
      Put16(body, 400);
      Put16(body, 0);
      Put8(body, 0);
      Put8(body, 0);
      Put8(body, 0);
      Put8(body, 0);
      PutString(body, u"Arial", true);
      PutRecord(out, kFont, body);
    }
    body.clear();
    Put16(body, kDateTimeFormat);
    PutString(body, u"yyyy-mm-dd hh:mm:ss", false);
    PutRecord(out, kFormat, body);
    PutXf(out, 0, true, 0);
    for (int i = 1; i < 15; ++i) PutXf(out, 0, true, 0xF4);
    PutXf(out, 0, false, 0);
    PutXf(out, kDateTimeFormat, false, 0x04);
    body.clear();
    Put16(body, 0x8000);  // built-in style "Normal" of format 0
    Put8(body, 0);
    Put8(body, 0xFF);
    PutRecord(out, kStyle, body);
    for (const std::u16string& name : names) {
      body.clear();
      Put32(body, 0);
      Put8(body, 0);  // visible
      Put8(body, 0);  // worksheet
      PutString(body, name, true);
      offsetAt.push_back(out.size() + 4);
      PutRecord(out, kBoundSheet, body);
    }
    SstWriter sst(out, total_, strings_.size());
    for (const std::u16string* s : strings_) sst.Add(*s);
    sst.Finish();
    PutRecord(out, kEof, {});
    return out;
  }

  std::unordered_map<std::u16string, std::uint32_t> index_;
  std::vector<const std::u16string*> strings_;  // in index order; keys of index_ stay put
  std::size_t total_ = 0;
};

}  // namespace

Result EncodeWorkbook(const Workbook& book, std::string& bytes) {
  return Encoder().Encode(book, bytes);
}

}  // namespace platform::xls
