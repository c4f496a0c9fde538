// Reads BIFF8 workbooks: the globals substream first (date system, number formats, cell
// formats, sheet list, shared strings), then each worksheet's cells.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "platform/clock/clock.h"
#include "platform/xls/bytes.h"
#include "platform/xls/cfb.h"
#include "platform/xls/internal.h"

namespace platform::xls {
namespace {

using bytes::Get16;
using bytes::Get32;
using bytes::Get8;
using namespace internal;

// Serial of 9999-12-31 plus the 1904 shift: anything beyond is no date.
constexpr double kLastSerial = 2958465 + 1462;
constexpr double k1904Shift = 1462;

// The bytes of one record and of the CONTINUE records after it, read as one sequence. Texts
// whose characters run on into the next piece carry their option flags again there.
class Pieces {
 public:
  explicit Pieces(std::vector<std::string_view> pieces) : pieces_(std::move(pieces)) {}

  bool Skip(std::size_t n) { return Take(n, nullptr); }
  bool U8(unsigned& v) { return Number(1, v); }
  bool U16(unsigned& v) { return Number(2, v); }
  bool U32(unsigned& v) { return Number(4, v); }
  bool AtEnd() {
    while (i_ < pieces_.size() && pos_ == pieces_[i_].size()) ++i_, pos_ = 0;
    return i_ == pieces_.size();
  }

  bool Chars(std::size_t count, bool high, std::u16string& out) {
    while (count > 0) {
      if (i_ >= pieces_.size()) return false;
      if (pos_ == pieces_[i_].size()) {
        if (++i_ >= pieces_.size() || pieces_[i_].empty()) return false;
        high = Get8(pieces_[i_], 0) & 1;
        pos_ = 1;
        continue;
      }
      std::string_view p = pieces_[i_];
      std::size_t size = high ? 2 : 1;
      std::size_t k = std::min(count, (p.size() - pos_) / size);
      if (k == 0) return false;
      for (std::size_t j = 0; j < k; ++j, pos_ += size)
        out.push_back(static_cast<char16_t>(high ? Get16(p, pos_) : Get8(p, pos_)));
      count -= k;
    }
    return true;
  }

  // A text with a 2-byte length (or 1-byte), option flags, and rich-text runs and extended
  // data that are passed over.
  bool String(std::u16string& out, bool shortLength = false) {
    unsigned count, flags, runs = 0, ext = 0;
    if (!(shortLength ? U8(count) : U16(count)) || !U8(flags)) return false;
    if ((flags & 0x08) && !U16(runs)) return false;
    if ((flags & 0x04) && !U32(ext)) return false;
    out.clear();
    return Chars(count, flags & 1, out) && Skip(std::size_t{4} * runs) && Skip(ext);
  }

 private:
  bool Take(std::size_t n, std::string* out) {
    while (n > 0) {
      if (i_ >= pieces_.size()) return false;
      std::string_view p = pieces_[i_];
      if (pos_ == p.size()) {
        ++i_;
        pos_ = 0;
        continue;
      }
      std::size_t k = std::min(n, p.size() - pos_);
      if (out) out->append(p.substr(pos_, k));
      pos_ += k;
      n -= k;
    }
    return true;
  }
  bool Number(std::size_t n, unsigned& v) {
    std::string b;
    if (!Take(n, &b)) return false;
    v = 0;
    for (std::size_t i = n; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(b[i]);
    return true;
  }

  std::vector<std::string_view> pieces_;
  std::size_t i_ = 0, pos_ = 0;
};

bool IsDateCode(char16_t c) {
  switch (c) {
    case 'y': case 'Y': case 'm': case 'M': case 'd': case 'D':
    case 'h': case 'H': case 's': case 'S':
      return true;
    default:
      return false;
  }
}

// Whether a custom number format shows a date or a time: a date or time code outside quoted
// text, escaped characters and [colour] / [condition] brackets.
bool IsDateFormat(std::u16string_view f) {
  for (std::size_t i = 0; i < f.size(); ++i) {
    char16_t c = f[i];
    if (c == '"') {
      std::size_t end = f.find(u'"', i + 1);
      if (end == std::u16string_view::npos) return false;
      i = end;
    } else if (c == '[') {
      std::size_t end = f.find(u']', i + 1);
      if (end == std::u16string_view::npos) return false;
      i = end;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (IsDateCode(c)) {
      return true;
    }
  }
  return false;
}

// Built-in date and time formats, with those of Chinese, Japanese and Korean editions.
bool IsBuiltInDate(unsigned format) {
  return (format >= 14 && format <= 22) || (format >= 45 && format <= 47) ||
         (format >= 27 && format <= 36) || (format >= 50 && format <= 58);
}

double DecodeRk(std::uint32_t rk) {
  double v;
  if (rk & 2) {
    v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&v, &bits, sizeof v);
  }
  return (rk & 1) ? v / 100 : v;
}

std::string HeaderText(const Cell& c) {
  char buf[40];
  switch (c.type) {
    case CellType::Text: return c.text;
    case CellType::Number: std::snprintf(buf, sizeof buf, "%.15g", c.number); return buf;
    case CellType::DateTime: return clock::FormatStored(c.number);
    case CellType::Bool: return c.number != 0 ? "TRUE" : "FALSE";
    default: return {};
  }
}

class Decoder {
 public:
  explicit Decoder(std::string_view stream) : s_(stream) {}

  Result Decode(Workbook& book) {
    std::size_t pos = 0;
    unsigned type;
    std::string_view body;
    if (!Next(pos, type, body)) return Fail(Status::Damaged);
    if (type != kBof || body.size() < 4) {
      // BOF records of Excel 2 to 4 workbooks.
      if (type == 0x0009 || type == 0x0209 || type == 0x0409) return Fail(Status::OldFormat);
      return Fail(Status::Damaged);
    }
    // BIFF5 and older name their version in the BOF; anything else is no workbook stream.
    unsigned version = Get16(body, 0);
    if (version == 0x0500 || version == 0x0400 || version == 0x0300 || version == 0x0200)
      return Fail(Status::OldFormat);
    if (version != kBiff8) return Fail(Status::Damaged);

    struct SheetRef {
      std::uint32_t offset;
      std::string name;
    };
    std::vector<SheetRef> refs;
    for (;;) {
      if (!Next(pos, type, body)) return Fail(Status::Damaged);
      if (type == kEof) break;
      switch (type) {
        case kFilePass:
          return Fail(Status::Encrypted);
        case kDateMode:
          if (body.size() >= 2) date1904_ = Get16(body, 0) == 1;
          break;
        case kFormat: {
          if (body.size() < 2) return Fail(Status::Damaged);
          Pieces p({body.substr(2)});
          std::u16string f;
          if (!p.String(f)) return Fail(Status::Damaged);
          customDate_[Get16(body, 0)] = IsDateFormat(f);
          break;
        }
        case kXf:
          if (body.size() < 4) return Fail(Status::Damaged);
          xfFormats_.push_back(Get16(body, 2));
          break;
        case kBoundSheet: {
          if (body.size() < 6) return Fail(Status::Damaged);
          Pieces p({body.substr(6)});
          std::u16string name;
          if (!p.String(name, true)) return Fail(Status::Damaged);
          // Chart, macro and module sheets hold no records of a table.
          if (Get8(body, 5) == 0) refs.push_back({Get32(body, 0), FromUtf16(name)});
          break;
        }
        case kSst:
          if (!ReadSst(Continued(pos, body))) return Fail(Status::Damaged);
          break;
        default:
          break;
      }
    }

    std::set<std::uint32_t> offsets;
    for (const SheetRef& ref : refs) {
      if (!offsets.insert(ref.offset).second) return Fail(Status::Damaged);
      Sheet sheet;
      sheet.name = ref.name;
      bool isWorksheet = true;
      Result r = ReadSheet(ref.offset, sheet, isWorksheet);
      if (!r.ok()) return r;
      if (isWorksheet) book.sheets.push_back(std::move(sheet));
    }
    return {};
  }

 private:
  // The record at `pos`; false when the stream ends inside it.
  bool Next(std::size_t& pos, unsigned& type, std::string_view& body) const {
    if (pos + 4 > s_.size()) return false;
    type = Get16(s_, pos);
    std::size_t len = Get16(s_, pos + 2);
    if (pos + 4 + len > s_.size()) return false;
    body = s_.substr(pos + 4, len);
    pos += 4 + len;
    return true;
  }

  // The record's body and the bodies of the CONTINUE records after it; `pos` moves past them.
  Pieces Continued(std::size_t& pos, std::string_view body) const {
    std::vector<std::string_view> pieces{body};
    for (;;) {
      std::size_t at = pos;
      unsigned type;
      std::string_view more;
      if (!Next(at, type, more) || type != kContinue) break;
      pieces.push_back(more);
      pos = at;
    }
    return Pieces(std::move(pieces));
  }

  bool ReadSst(Pieces p) {
    unsigned total, unique;
    if (!p.U32(total) || !p.U32(unique)) return false;
    // The count is not trusted: the table ends where its records end.
    for (unsigned i = 0; i < unique && !p.AtEnd(); ++i) {
      std::u16string s;
      if (!p.String(s)) return false;
      sst_.push_back(FromUtf16(s));
    }
    return true;
  }

  bool IsDateXf(unsigned xf) const {
    if (xf >= xfFormats_.size()) return false;
    unsigned format = xfFormats_[xf];
    auto custom = customDate_.find(format);
    return custom != customDate_.end() ? custom->second : IsBuiltInDate(format);
  }

  Cell NumberCell(double v, unsigned xf) const {
    if (!IsDateXf(xf) || !(std::fabs(v) <= kLastSerial)) return Cell::Num(v);
    if (date1904_) v += k1904Shift;
    return Cell::Date(clock::SerialFromSeconds(clock::SecondsFromSerial(v)));
  }

  static void Put(std::vector<std::vector<Cell>>& rows, unsigned row, unsigned col, Cell cell) {
    if (col >= kMaxColumns) return;
    if (rows.size() <= row) rows.resize(row + 1);
    if (rows[row].size() <= col) rows[row].resize(col + 1);
    rows[row][col] = std::move(cell);
  }

  Result ReadSheet(std::uint32_t offset, Sheet& sheet, bool& isWorksheet) {
    std::size_t pos = offset;
    unsigned type;
    std::string_view body;
    if (!Next(pos, type, body) || type != kBof || body.size() < 4) return Fail(Status::Damaged);
    if (Get16(body, 2) != kWorksheet) {
      isWorksheet = false;
      return {};
    }
    std::vector<std::vector<Cell>> rows;
    bool pending = false;  // a formula whose text result is the next STRING record
    unsigned pendingRow = 0, pendingCol = 0;
    for (;;) {
      if (!Next(pos, type, body)) return Fail(Status::Damaged);
      if (type == kEof) break;
      bool cell = type == kLabelSst || type == kLabel || type == kRString || type == kNumber ||
                  type == kRk || type == kMulRk || type == kBoolErr || type == kFormula ||
                  type == kBlank || type == kMulBlank;
      if (!cell && type != kString) continue;
      if (cell && body.size() < 6) return Fail(Status::Damaged);
      unsigned row = cell ? Get16(body, 0) : 0, col = cell ? Get16(body, 2) : 0;
      unsigned xf = cell ? Get16(body, 4) : 0;
      if (cell) pending = false;
      switch (type) {
        case kLabelSst: {
          if (body.size() < 10 || Get32(body, 6) >= sst_.size()) return Fail(Status::Damaged);
          Put(rows, row, col, Cell::Str(sst_[Get32(body, 6)]));
          break;
        }
        case kLabel:
        case kRString: {
          std::u16string s;
          Pieces p = Continued(pos, body);
          if (!p.Skip(6) || !p.String(s)) return Fail(Status::Damaged);
          Put(rows, row, col, Cell::Str(FromUtf16(s)));
          break;
        }
        case kNumber:
          if (body.size() < 14) return Fail(Status::Damaged);
          Put(rows, row, col, NumberCell(bytes::GetDouble(body, 6), xf));
          break;
        case kRk:
          if (body.size() < 10) return Fail(Status::Damaged);
          Put(rows, row, col, NumberCell(DecodeRk(Get32(body, 6)), xf));
          break;
        case kMulRk: {
          // row, first column, (format, value) for each column, last column
          if ((body.size() - 6) % 6 != 0) return Fail(Status::Damaged);
          std::size_t n = (body.size() - 6) / 6;
          for (std::size_t i = 0; i < n; ++i)
            Put(rows, row, col + static_cast<unsigned>(i),
                NumberCell(DecodeRk(Get32(body, 6 + 6 * i)), Get16(body, 4 + 6 * i)));
          break;
        }
        case kBoolErr:
          if (body.size() < 8) return Fail(Status::Damaged);
          Put(rows, row, col,
              Get8(body, 7) ? Cell{CellType::Error, static_cast<double>(Get8(body, 6)), {}}
                            : Cell::Boolean(Get8(body, 6) != 0));
          break;
        case kFormula: {
          if (body.size() < 14) return Fail(Status::Damaged);
          if (Get16(body, 12) != 0xFFFF) {
            Put(rows, row, col, NumberCell(bytes::GetDouble(body, 6), xf));
            break;
          }
          unsigned kind = Get8(body, 6), value = Get8(body, 8);
          if (kind == 0) {
            pending = true;
            pendingRow = row;
            pendingCol = col;
          } else if (kind == 1) {
            Put(rows, row, col, Cell::Boolean(value != 0));
          } else if (kind == 2) {
            Put(rows, row, col, Cell{CellType::Error, static_cast<double>(value), {}});
          } else if (kind == 3) {
            Put(rows, row, col, Cell::Str({}));
          }
          break;
        }
        case kString: {
          std::u16string s;
          Pieces p = Continued(pos, body);
          if (!p.String(s)) return Fail(Status::Damaged);
          if (pending) Put(rows, pendingRow, pendingCol, Cell::Str(FromUtf16(s)));
          pending = false;
          break;
        }
        default:  // BLANK, MULBLANK: empty cells
          break;
      }
    }

    if (!rows.empty()) {
      for (const Cell& c : rows[0]) sheet.columns.push_back(HeaderText(c));
    }
    for (std::size_t r = 1; r < rows.size(); ++r) {
      // A row without a value is no record.
      bool any = false;
      for (const Cell& c : rows[r]) any = any || c.type != CellType::Empty;
      if (any) sheet.rows.push_back(std::move(rows[r]));
    }
    return {};
  }

  std::string_view s_;
  bool date1904_ = false;
  std::vector<unsigned> xfFormats_;
  std::map<unsigned, bool> customDate_;
  std::vector<std::string> sst_;
};

}  // namespace

Result DecodeWorkbook(std::string_view bytes, Workbook& book) {
  book.sheets.clear();
  if (bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4)) return Fail(Status::Xlsx);
  std::string stream;
  switch (cfb::ReadStream(bytes, "Workbook", stream)) {
    case cfb::ReadStatus::Ok:
      break;
    case cfb::ReadStatus::NotCompoundFile:
      return Fail(Status::NotWorkbook);
    case cfb::ReadStatus::Damaged:
      return Fail(Status::Damaged);
    case cfb::ReadStatus::NotFound:
      if (cfb::ReadStream(bytes, "Book", stream) == cfb::ReadStatus::Ok)
        return Fail(Status::OldFormat);
      return Fail(Status::NotWorkbook);
  }
  Result r = Decoder(stream).Decode(book);
  if (!r.ok()) book.sheets.clear();
  return r;
}

}  // namespace platform::xls
