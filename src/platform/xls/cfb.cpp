#include "platform/xls/cfb.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/xls/bytes.h"

namespace platform::xls::cfb {
namespace {

using bytes::Get16;
using bytes::Get32;
using bytes::Get64;
using bytes::Put16;
using bytes::Put32;

constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::size_t kHeaderDifat = 109;
constexpr std::size_t kMiniCutoff = 4096;

void PutEntry(std::string& out, std::string_view name, unsigned type, std::uint32_t child,
              std::uint32_t start, std::uint32_t size) {
  std::size_t begin = out.size();
  for (char c : name) Put16(out, static_cast<unsigned char>(c));
  Put16(out, 0);
  out.resize(begin + 64, '\0');
  Put16(out, name.empty() ? 0 : static_cast<unsigned>(2 * (name.size() + 1)));
  bytes::Put8(out, type);
  bytes::Put8(out, 1);  // black
  Put32(out, kNoStream);
  Put32(out, kNoStream);
  Put32(out, child);
  out.resize(out.size() + 16 + 4 + 16, '\0');  // class id, state bits, times
  Put32(out, start);
  Put32(out, size);
  Put32(out, 0);
}

}  // namespace

std::string Build(std::string_view name, std::string_view stream) {
  constexpr std::size_t kSector = 512;
  constexpr std::size_t kPerSector = kSector / 4;
  std::string data(stream);
  if (data.size() < kMiniCutoff) data.resize(kMiniCutoff, '\0');
  const std::size_t streamSectors = (data.size() + kSector - 1) / kSector;
  const std::size_t dirSectors = 1;

  // FAT and DIFAT sectors count themselves: grow both until everything is covered.
  std::size_t fatSectors = 1, difatSectors = 0;
  for (;;) {
    std::size_t total = streamSectors + dirSectors + fatSectors + difatSectors;
    std::size_t needFat = (total + kPerSector - 1) / kPerSector;
    std::size_t needDifat =
        needFat > kHeaderDifat ? (needFat - kHeaderDifat + kPerSector - 2) / (kPerSector - 1) : 0;
    if (needFat == fatSectors && needDifat == difatSectors) break;
    fatSectors = needFat;
    difatSectors = needDifat;
  }
  const std::uint32_t dirStart = static_cast<std::uint32_t>(streamSectors);
  const std::uint32_t fatStart = dirStart + dirSectors;
  const std::uint32_t difatStart = fatStart + static_cast<std::uint32_t>(fatSectors);

  std::vector<std::uint32_t> fat(fatSectors * kPerSector, kFree);
  for (std::size_t i = 0; i < streamSectors; ++i)
    fat[i] = i + 1 < streamSectors ? static_cast<std::uint32_t>(i + 1) : kEndOfChain;
  fat[dirStart] = kEndOfChain;
  for (std::size_t i = 0; i < fatSectors; ++i) fat[fatStart + i] = kFatSector;
  for (std::size_t i = 0; i < difatSectors; ++i) fat[difatStart + i] = kDifatSector;

  std::string out;
  out.reserve((1 + streamSectors + dirSectors + fatSectors + difatSectors) * kSector);
  out.append(kSignature, 8);
  out.append(16, '\0');
  Put16(out, 0x003E);
  Put16(out, 3);
  Put16(out, 0xFFFE);
  Put16(out, 9);  // 512-byte sectors
  Put16(out, 6);  // 64-byte mini sectors
  out.append(6, '\0');
  Put32(out, 0);  // directory sectors (always 0 in version 3)
  Put32(out, static_cast<std::uint32_t>(fatSectors));
  Put32(out, dirStart);
  Put32(out, 0);
  Put32(out, kMiniCutoff);
  Put32(out, kEndOfChain);
  Put32(out, 0);
  Put32(out, difatSectors ? difatStart : kEndOfChain);
  Put32(out, static_cast<std::uint32_t>(difatSectors));
  for (std::size_t i = 0; i < kHeaderDifat; ++i)
    Put32(out, i < fatSectors ? fatStart + static_cast<std::uint32_t>(i) : kFree);

  out += data;
  out.resize(kSector * (1 + streamSectors), '\0');

  PutEntry(out, "Root Entry", 5, 1, kEndOfChain, 0);
  PutEntry(out, name, 2, kNoStream, 0, static_cast<std::uint32_t>(data.size()));
  PutEntry(out, "", 0, kNoStream, 0, 0);
  PutEntry(out, "", 0, kNoStream, 0, 0);

  for (std::uint32_t v : fat) Put32(out, v);

  std::size_t next = kHeaderDifat;
  for (std::size_t d = 0; d < difatSectors; ++d) {
    for (std::size_t i = 0; i + 1 < kPerSector; ++i, ++next)
      Put32(out, next < fatSectors ? fatStart + static_cast<std::uint32_t>(next) : kFree);
    Put32(out, d + 1 < difatSectors ? difatStart + static_cast<std::uint32_t>(d + 1) : kEndOfChain);
  }
  return out;
}

namespace {

class Reader {
 public:
  explicit Reader(std::string_view file) : file_(file) {}

  ReadStatus Read(std::string_view name, std::string& stream) {
    if (file_.size() < 512 || file_.substr(0, 8) != std::string_view(kSignature, 8))
      return ReadStatus::NotCompoundFile;
    unsigned major = Get16(file_, 0x1A);
    unsigned shift = Get16(file_, 0x1E);
    if (!((major == 3 && shift == 9) || (major == 4 && shift == 12))) return ReadStatus::Damaged;
    version4_ = major == 4;
    sector_ = std::size_t{1} << shift;
    unsigned miniShift = Get16(file_, 0x20);
    if (miniShift == 0 || miniShift > shift) return ReadStatus::Damaged;
    mini_ = std::size_t{1} << miniShift;
    miniCutoff_ = Get32(file_, 0x38);
    sectorCount_ = file_.size() > sector_ ? (file_.size() - sector_ + sector_ - 1) / sector_ : 0;
    if (!LoadFat()) return ReadStatus::Damaged;
    if (!LoadDirectory()) return ReadStatus::Damaged;
    std::optional<std::size_t> entry = FindEntry(name);
    if (!entry) return directoryBroken_ ? ReadStatus::Damaged : ReadStatus::NotFound;
    return ReadEntry(*entry, stream) ? ReadStatus::Ok : ReadStatus::Damaged;
  }

 private:
  struct Entry {
    std::u16string name;
    unsigned type = 0;
    std::uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
    std::uint32_t start = kEndOfChain;
    std::uint64_t size = 0;
  };

  std::string_view Sector(std::uint32_t s) const {
    std::size_t at = (static_cast<std::size_t>(s) + 1) * sector_;
    return file_.substr(at, sector_);
  }

  bool LoadFat() {
    std::uint32_t fatCount = Get32(file_, 0x2C);
    if (fatCount > sectorCount_) return false;
    std::vector<std::uint32_t> fatSectors;
    for (std::size_t i = 0; i < kHeaderDifat && fatSectors.size() < fatCount; ++i)
      fatSectors.push_back(Get32(file_, 0x4C + 4 * i));
    std::uint32_t difat = Get32(file_, 0x44);
    std::size_t perSector = sector_ / 4;
    // A DIFAT chain longer than the file has sectors must loop.
    for (std::size_t steps = 0; fatSectors.size() < fatCount; ++steps) {
      if (difat >= sectorCount_ || steps >= sectorCount_) return false;
      std::string_view s = Sector(difat);
      if (s.size() < sector_) return false;
      for (std::size_t i = 0; i + 1 < perSector && fatSectors.size() < fatCount; ++i)
        fatSectors.push_back(Get32(s, 4 * i));
      difat = Get32(s, sector_ - 4);
    }
    fat_.reserve(fatSectors.size() * perSector);
    for (std::uint32_t f : fatSectors) {
      if (f >= sectorCount_) return false;
      std::string_view s = Sector(f);
      for (std::size_t i = 0; i + 4 <= s.size(); i += 4) fat_.push_back(Get32(s, i));
    }
    return true;
  }

  // The sectors of a chain; nullopt when it leaves the table or loops.
  static std::optional<std::vector<std::uint32_t>> Chain(const std::vector<std::uint32_t>& table,
                                                         std::uint32_t start, std::size_t limit) {
    std::vector<std::uint32_t> chain;
    for (std::uint32_t s = start; s != kEndOfChain; s = table[s]) {
      if (s >= table.size() || s >= limit || chain.size() >= table.size()) return std::nullopt;
      chain.push_back(s);
    }
    return chain;
  }

  // The bytes of a chain of full sectors, at least `size` of them.
  bool ReadChain(std::uint32_t start, std::uint64_t size, std::string& out) const {
    auto chain = Chain(fat_, start, sectorCount_);
    if (!chain || chain->size() * sector_ < size) return false;
    out.clear();
    out.reserve(static_cast<std::size_t>(size));
    for (std::uint32_t s : *chain) {
      if (out.size() >= size) break;
      out += Sector(s);
    }
    if (out.size() < size) return false;
    out.resize(static_cast<std::size_t>(size));
    return true;
  }

  bool LoadDirectory() {
    auto chain = Chain(fat_, Get32(file_, 0x30), sectorCount_);
    if (!chain || chain->empty()) return false;
    for (std::uint32_t s : *chain) {
      std::string_view sec = Sector(s);
      for (std::size_t at = 0; at + 128 <= sec.size(); at += 128) {
        Entry e;
        unsigned nameBytes = Get16(sec, at + 0x40);
        for (unsigned i = 0; i + 2 <= nameBytes && i < 62; i += 2) {
          char16_t c = static_cast<char16_t>(Get16(sec, at + i));
          if (c == 0) break;
          e.name.push_back(c);
        }
        e.type = bytes::Get8(sec, at + 0x42);
        e.left = Get32(sec, at + 0x44);
        e.right = Get32(sec, at + 0x48);
        e.child = Get32(sec, at + 0x4C);
        e.start = Get32(sec, at + 0x74);
        e.size = version4_ ? Get64(sec, at + 0x78) : Get32(sec, at + 0x78);
        entries_.push_back(std::move(e));
      }
    }
    return !entries_.empty() && entries_[0].type == 5;
  }

  static bool SameName(const std::u16string& a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      char16_t x = a[i], y = static_cast<unsigned char>(b[i]);
      if (x >= 'a' && x <= 'z') x -= 32;
      if (y >= 'a' && y <= 'z') y -= 32;
      if (x != y) return false;
    }
    return true;
  }

  // Walks the tree of the root storage's children.
  std::optional<std::size_t> FindEntry(std::string_view name) {
    std::vector<bool> seen(entries_.size(), false);
    std::vector<std::uint32_t> todo{entries_[0].child};
    while (!todo.empty()) {
      std::uint32_t i = todo.back();
      todo.pop_back();
      if (i == kNoStream) continue;
      if (i >= entries_.size() || seen[i]) {
        directoryBroken_ = true;
        return std::nullopt;
      }
      seen[i] = true;
      const Entry& e = entries_[i];
      if (e.type == 2 && SameName(e.name, name)) return i;
      todo.push_back(e.left);
      todo.push_back(e.right);
    }
    return std::nullopt;
  }

  bool ReadEntry(std::size_t index, std::string& out) {
    const Entry& e = entries_[index];
    if (e.size >= miniCutoff_) return ReadChain(e.start, e.size, out);
    if (e.size == 0) {
      out.clear();
      return true;
    }
    // Small streams live in the mini stream, itself the root entry's chain.
    std::string ministream;
    if (!ReadChain(entries_[0].start, entries_[0].size, ministream)) return false;
    std::string minifatBytes;
    std::uint32_t miniCount = Get32(file_, 0x40);
    if (miniCount > sectorCount_) return false;
    if (!ReadChain(Get32(file_, 0x3C), std::uint64_t{miniCount} * sector_, minifatBytes))
      return false;
    std::vector<std::uint32_t> minifat;
    for (std::size_t i = 0; i + 4 <= minifatBytes.size(); i += 4)
      minifat.push_back(Get32(minifatBytes, i));
    auto chain = Chain(minifat, e.start, ministream.size() / mini_);
    if (!chain || chain->size() * mini_ < e.size) return false;
    out.clear();
    for (std::uint32_t s : *chain) out.append(ministream, s * mini_, mini_);
    out.resize(static_cast<std::size_t>(e.size));
    return true;
  }

  std::string_view file_;
  bool version4_ = false;
  std::size_t sector_ = 512, mini_ = 64;
  std::uint64_t miniCutoff_ = kMiniCutoff;
  std::size_t sectorCount_ = 0;
  std::vector<std::uint32_t> fat_;
  std::vector<Entry> entries_;
  bool directoryBroken_ = false;
};

}  // namespace

ReadStatus ReadStream(std::string_view file, std::string_view name, std::string& stream) {
  return Reader(file).Read(name, stream);
}

}  // namespace platform::xls::cfb
