// The files of ISO images made by xorriso, read by the engine's paths: names in any case, with
// and without Joliet, Japanese names given in Shift-JIS; loops in the directory records, huge
// folders and images cut short end in a missing or unreadable file, never a hang. The same
// disc as a BIN/CUE read through libcdio's device interface, as a disc in a drive is read.
#include "platform/cd/iso_files.h"

#include <gtest/gtest.h>

#include "platform/cd/cdio_disc.h"
#include "platform/cd/image_disc.h"
#include "platform/file_reader.h"
#include "platform/paths.h"
#include "platform/text_encoding.h"
#include "platform/volumes.h"
#include "support/disc_images.h"
#include "support/test_game.h"

namespace kelvox::platform {
namespace {

namespace fs = std::filesystem;

struct Disc {
  explicit Disc(bool joliet = true) {
    dir.write("root/Data/Grd/Sky.png", "sky");
    dir.write("root/表示/ソフト.txt", "soft");
    dir.write("root/a.txt", "a");
    test::makeIso(dir.path() / "root", iso, "KVXDISC", joliet);
  }
  // Drive q: holds the image, read through Paths.
  Paths& paths() {
    std::string error;
    auto disc = openImageDisc(iso, label, error);
    EXPECT_TRUE(disc) << error;
    volumes = FixedVolumes({{'q', label, iso, disc}});
    paths_.emplace(dir.path(), &volumes);
    return *paths_;
  }
  std::optional<std::string> read(const std::string& sjisPath, ReadFailure* failure = nullptr) {
    auto bytes = paths_->read(sjisPath, 1 << 20, failure);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
  }
  test::TempDir dir;
  fs::path iso = dir.path() / "disc.iso";
  std::string label;
  FixedVolumes volumes;
  std::optional<Paths> paths_;
};

TEST(IsoFiles, ReadsTheEnginesPathsWithoutRegardToCase) {
  for (bool joliet : {true, false}) {
    Disc disc(joliet);
    Paths& paths = disc.paths();
    EXPECT_EQ(disc.label, "KVXDISC");
    struct Case {
      std::string path;
      std::optional<std::string> bytes;
    } cases[] = {
        {"Q:\\Data\\Grd\\Sky.png", "sky"},
        {"q:\\DATA\\grd\\SKY.PNG", "sky"},
        {"Q:\\Data\\..\\a.txt", "a"},
        {"Q:\\..\\..\\A.TXT", "a"},  // ".." stops at the disc's root
        {toSjis("Q:\\表示\\ソフト.TXT"), "soft"},
        {"Q:\\Data\\Grd\\Sky.png\\x", std::nullopt},
        {"Q:\\none.txt", std::nullopt},
        {"R:\\a.txt", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(disc.read(c.path), c.bytes) << c.path << " joliet " << joliet;
    EXPECT_TRUE(paths.isFolder("Q:\\data\\GRD"));
    EXPECT_FALSE(paths.isFile("Q:\\data\\GRD"));
    EXPECT_TRUE(paths.isFile("q:\\A.txt"));
    ReadFailure failure;
    EXPECT_FALSE(disc.read("Q:\\Data", &failure));
    EXPECT_EQ(failure.kind, ReadFailure::Kind::NotRegularFile);
    auto reader = paths.openReader("Q:\\DATA\\GRD\\SKY.PNG");
    uint8_t piece[2];
    ASSERT_TRUE(reader->isOpen());
    EXPECT_EQ(reader->read(piece), 2u);
    EXPECT_EQ(reader->read(piece), 1u);
    EXPECT_EQ(piece[0], 'y');
    EXPECT_EQ(reader->read(piece), 0u);
    // Written files go nowhere: the path below the image is no folder.
    EXPECT_FALSE(writeFileAtomic(paths.resolve("Q:\\new.txt"), std::vector<uint8_t>{1}));
  }
}

// A file system served from memory, sector by sector; the root folder is sector 20.
struct MemorySource final : IsoSource {
  std::optional<IsoEntry> root() override { return IsoEntry{"", true, 20, 2048}; }
  bool joliet() override { return false; }
  bool readBlocks(uint32_t lsn, uint32_t count, uint8_t* out) override {
    for (uint32_t i = 0; i < count; ++i) {
      auto it = sectors.find(lsn + i);
      if (it == sectors.end()) return false;
      std::copy_n(it->second.begin(), 2048, out + size_t{i} * 2048);
    }
    return true;
  }
  std::map<uint32_t, std::string> sectors;
};

// One directory record as ISO 9660 lays it out (both-endian fields, a pad byte after an even
// name).
std::string record(const std::string& name, uint32_t lsn, uint32_t size, bool folder) {
  std::string r(33 + name.size() + (name.size() % 2 == 0 ? 1 : 0), '\0');
  r[0] = static_cast<char>(r.size());
  for (int i = 0; i < 4; ++i) {
    r[2 + i] = r[9 - i] = static_cast<char>(lsn >> (8 * i));
    r[10 + i] = r[17 - i] = static_cast<char>(size >> (8 * i));
  }
  r[25] = folder ? 2 : 0;
  r[32] = static_cast<char>(name.size());
  r.replace(33, name.size(), name);
  return r;
}

TEST(IsoFiles, LoopsAndHugeFoldersInTheRecordsEndTheLookup) {
  auto source = std::make_unique<MemorySource>();
  std::string root = record(std::string(1, '\0'), 20, 2048, true) + record("\1", 20, 2048, true) +
                     record("LOOP", 20, 2048, true) + record("HUGE", 21, 0xFFFFF800u, true) +
                     record("A.TXT;1", 22, 1, false);
  source->sectors[20] = root + std::string(2048 - root.size(), '\0');
  source->sectors[22] = "a" + std::string(2047, '\0');
  IsoFiles files(std::move(source));
  EXPECT_EQ(files.find({"loop", "LOOP", "loop", "a.txt"}).kind, DiscFiles::Kind::File);
  EXPECT_EQ(files.find({"huge"}).kind, DiscFiles::Kind::Folder);
  EXPECT_EQ(files.find({"huge", "a.txt"}).kind, DiscFiles::Kind::Missing);  // not read at all
  EXPECT_EQ(files.readWhole({"loop", "a.txt"}, 10, nullptr), std::vector<uint8_t>{'a'});
}

TEST(IsoFiles, AnImageCutShortReadsAsFarAsItGoes) {
  test::TempDir dir;
  dir.write("root/big.bin", std::string(64 * 1024, 'b'));
  test::makeIso(dir.path() / "root", dir.path() / "disc.iso", "CUT");
  fs::resize_file(dir.path() / "disc.iso", fs::file_size(dir.path() / "disc.iso") - 32 * 1024);
  std::string label, error;
  auto disc = openImageDisc(dir.path() / "disc.iso", label, error);
  ASSERT_TRUE(disc) << error;
  ReadFailure failure;
  EXPECT_FALSE(disc->readWhole({"big.bin"}, 1 << 20, &failure));
  EXPECT_EQ(failure.kind, ReadFailure::Kind::Unreadable);
  std::vector<uint8_t> piece(4096);
  EXPECT_EQ(disc->readAt({"BIG.BIN"}, 0, piece), 4096u);
  EXPECT_EQ(disc->readAt({"BIG.BIN"}, 63 * 1024, piece), 0u);
}

// The image in raw 2352-byte sectors, as a disc is read: sync, header (the sector's minute,
// second and frame from the disc's start, in BCD, and mode 1), the 2048 bytes, and the error
// codes (left zero: nothing here checks them).
std::string rawMode1(const std::string& iso) {
  std::string raw;
  for (size_t sector = 0; sector * 2048 < iso.size(); ++sector) {
    size_t at = sector + 150;  // the first sector's address is 00:02:00
    auto bcd = [](size_t n) { return static_cast<char>(n / 10 << 4 | n % 10); };
    raw += std::string("\x00", 1) + std::string(10, '\xFF') + std::string("\x00", 1);
    raw += {bcd(at / 4500), bcd(at / 75 % 60), bcd(at % 75), '\x01'};
    raw += iso.substr(sector * 2048, 2048);
    raw += std::string(288, '\0');
  }
  return raw;
}

TEST(CdioDisc, ReadsTracksSamplesAndFilesAsOurCueReaderDoes) {
  // One BIN/CUE, as a disc in a drive is read (libcdio's driver wants the .bin named after the
  // sheet): the data track in raw sectors, then 3 sectors of audio.
  Disc disc;
  std::string data = rawMode1(disc.dir.read("disc.iso"));
  const size_t dataSectors = data.size() / 2352;
  disc.dir.write("disc.bin", data + test::cdFrames(3 * 588, [](size_t k) { return 7 * k; }, [](size_t k) { return -7 * int(k); }));
  char start[48];
  std::snprintf(start, sizeof start, "%02zu:%02zu:%02zu", dataSectors / 4500, dataSectors / 75 % 60, dataSectors % 75);
  disc.dir.write("disc.cue", "FILE \"disc.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                             "  TRACK 02 AUDIO\n    INDEX 01 " + std::string(start) + "\n");
  std::string cdioLabel, ourLabel, error;
  auto cd = openCdioDisc((disc.dir.path() / "disc.cue").string(), true, cdioLabel, error);
  ASSERT_TRUE(cd) << error;
  auto ours = openImageDisc(disc.dir.path() / "disc.cue", ourLabel, error);
  ASSERT_TRUE(ours) << error;
  for (auto [reader, label] : {std::pair<AudioDisc*, std::string>{cd.get(), cdioLabel}, {ours.get(), ourLabel}}) {
    EXPECT_EQ(label, "KVXDISC");
    auto tracks = reader->tracks();
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_FALSE(tracks[0].audio);
    EXPECT_TRUE(tracks[1].audio);
    EXPECT_EQ(tracks[1].frames, 3u * 588);
    auto audio = reader->openTrack(2);
    ASSERT_TRUE(audio);
    std::vector<float> frames(2 * 3 * 588);
    ASSERT_EQ(audio->read(frames.data(), 3 * 588), 3u * 588);
    for (size_t k = 0; k < 3 * 588; ++k) {
      ASSERT_EQ(frames[2 * k], 7.0f * k / 32768) << k;
      ASSERT_EQ(frames[2 * k + 1], -7.0f * k / 32768) << k;
    }
  }
  for (DiscFiles* files : {static_cast<DiscFiles*>(cd.get()), static_cast<DiscFiles*>(ours.get())})
    EXPECT_EQ(files->readWhole({"data", "grd", "sky.png"}, 100, nullptr), (std::vector<uint8_t>{'s', 'k', 'y'}));
}

}  // namespace
}  // namespace kelvox::platform
