#include "platform/xls/xls.h"

#include "platform/files/files.h"
#include "platform/text/text.h"
#include "platform/xls/internal.h"

namespace platform::xls {

namespace {
// Far beyond the largest workbook of 65536 rows the program writes or reads; a larger file
// (or a device that never ends) is refused before it is read.
constexpr std::int64_t kWorkbookFileLimit = 256LL << 20;
}  // namespace
namespace internal {

std::u16string ToUtf16(std::string_view gb18030) {
  std::u16string out;
  out.reserve(gb18030.size());
  bool ascii = true;
  for (char c : gb18030) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    for (char c : gb18030) out.push_back(static_cast<char16_t>(c));
    return out;
  }
  std::string utf8 = text::ToUtf8(gb18030);
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char b = static_cast<unsigned char>(utf8[i]);
    std::size_t len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < len && i + k < utf8.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string FromUtf16(std::u16string_view utf16) {
  std::string utf8;
  utf8.reserve(utf16.size());
  bool ascii = true;
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      utf8.push_back(static_cast<char>(cp));
      continue;
    }
    ascii = false;
    if (cp < 0x800) {
      utf8.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    } else {
      if (cp < 0x10000) {
        utf8.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      } else {
        utf8.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        utf8.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      }
      utf8.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    }
    utf8.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  // A NUL in a cell would cut the text short further on; U+0000 becomes nothing.
  std::erase(utf8, '\0');
  return ascii ? utf8 : text::FromUtf8(utf8);
}

Result Fail(Status status, std::string_view detail) {
  const char* utf8 = "";
  switch (status) {
    case Status::Ok: break;
    case Status::FileError: utf8 = "无法读写文件："; break;
    case Status::NotWorkbook: utf8 = "不是 Excel 工作簿文件。"; break;
    case Status::Xlsx:
      utf8 = "这是 Excel 2007 以后格式的工作簿（.xlsx），请另存为 Excel 97-2003 工作簿（.xls）。";
      break;
    case Status::OldFormat:
      utf8 = "这是 Excel 5.0/95 工作簿，请另存为 Excel 97-2003 工作簿（.xls）。";
      break;
    case Status::Encrypted: utf8 = "工作簿受密码保护，无法读取。"; break;
    case Status::Damaged: utf8 = "工作簿文件已损坏。"; break;
    case Status::TooManyRows: utf8 = "工作表超过 65536 行："; break;
    case Status::TooManyColumns: utf8 = "工作表超过 256 列："; break;
    case Status::TextTooLong: utf8 = "文本超过 32767 个字符："; break;
    case Status::BadSheetName: utf8 = "工作表名称无效："; break;
  }
  return {status, text::FromUtf8(utf8) + std::string(detail)};
}

}  // namespace internal

int Sheet::ColumnIndex(std::string_view column) const {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (text::EqualsIgnoreAsciiCase(columns[i], column)) return static_cast<int>(i);
  return -1;
}

const Cell& Sheet::At(std::size_t row, std::size_t column) const {
  static const Cell kEmpty;
  if (row >= rows.size() || column >= rows[row].size()) return kEmpty;
  return rows[row][column];
}

const Sheet* Workbook::Find(std::string_view name) const {
  for (const Sheet& s : sheets)
    if (text::EqualsIgnoreAsciiCase(s.name, name)) return &s;
  return nullptr;
}

Result WriteWorkbook(const Workbook& book, std::string_view path) {
  std::string bytes;
  Result r = EncodeWorkbook(book, bytes);
  if (!r.ok()) return r;
  if (!files::WriteAll(path, bytes)) return internal::Fail(Status::FileError, path);
  return r;
}

Result ReadWorkbook(std::string_view path, Workbook& book) {
  book.sheets.clear();
  std::optional<std::string> bytes = files::ReadAll(path, kWorkbookFileLimit);
  if (!bytes) return internal::Fail(Status::FileError, path);
  return DecodeWorkbook(*bytes, book);
}

}  // namespace platform::xls
