// The packer's FT reader/printer, the ".bin" encoding and unpacking.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ftpack/bin_format.h"
#include "ftpack/crc32.h"
#include "ftpack/ft_text.h"
#include "ftpack/pack.h"
#include "ftpack/unpack.h"
#include "ftpack_test_support.h"

namespace kestrum::ftpack {
namespace {

using kestrum::testing::RecordOffset;
using kestrum::testing::SyntheticFtText;

const char* const kExampleRecord =
    " 1 1 1  37.  40.  29.9   0.  0  0  12 0.0037 0.079  13.7    0.0    0.0  2  13.";

TEST(Crc32, StandardCheckValues) {
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(Crc32("6789", 4, Crc32("12345", 5)), 0xCBF43926u);  // running CRC
}

TEST(FtField, AcceptsOnlyTheWritersOwnForm) {
  int32_t v = 0;
  EXPECT_TRUE(ParseField("  -0.5", FieldFormat{6, 1, false}, v));
  EXPECT_EQ(v, -5);
  EXPECT_TRUE(ParseField(" 0.0037", FieldFormat{7, 4, false}, v));
  EXPECT_EQ(v, 37);
  EXPECT_TRUE(ParseField(" -11.", FieldFormat{4, 0, true}, v));
  EXPECT_EQ(v, -11);
  for (const char* bad : {"  -0.0", "  029.", " 029.9", " 29.9 ", "  +9.9", "  29,9", "   .99",
                          "  2 9.9", "      ", " 29.90", "   x.9"}) {
    EXPECT_FALSE(ParseField(bad, FieldFormat{6, 1, false}, v)) << '"' << bad << '"';
  }
  for (const char* bad : {"  37 ", "   -0.", "  37.0", "  037.", "    ."}) {
    EXPECT_FALSE(ParseField(bad, FieldFormat{4, 0, true}, v)) << '"' << bad << '"';
  }
  std::string wide;
  EXPECT_FALSE(AppendField(wide, 12345, FieldFormat{4, 0, true}));  // written in full
  EXPECT_EQ(wide, "12345.");
}

TEST(FtText, ParsesTheWritersFileAndPrintsItBackByteForByte) {
  for (bool epw : {true, false}) {
    // Windows-1252 letters and punctuation in the description survive unchanged.
    const std::string text = SyntheticFtText("S\xC3O PAULO \"CONGONHAS\"; \xE9t\xE9", epw);
    FtData data;
    const FtParseResult result = ParseFtText(text, data);
    ASSERT_TRUE(result.ok()) << result.reason;
    EXPECT_EQ(PrintFtText(data), text);
  }
}

// Each damage of the synthetic text gives the status shown.
TEST(FtText, MalformedFilesAreRefused) {
  const std::string good = SyntheticFtText();
  const size_t r = RecordOffset(100);
  const std::string rec5 = good.substr(RecordOffset(5), 80);
  const std::string rec6 = good.substr(RecordOffset(6), 80);
  struct Case {
    const char* what;
    std::string text;
    FtStatus status;
  };
  const Case cases[] = {
      {"short line", std::string(good).erase(r + 73, 5), FtStatus::BadHours},
      {"overflowed field", std::string(good).replace(r + 11, 5, "12345."), FtStatus::BadHours},
      {"misaligned fields", std::string(good).replace(r + 6, 10, " 37.   40."), FtStatus::BadHours},
      {"non-numeric", std::string(good).replace(r + 44, 6, " 0.0x9"), FtStatus::BadHours},
      {"8759 records", good.substr(0, RecordOffset(8760)), FtStatus::BadHours},
      {"8761 records", good + good.substr(RecordOffset(8760)), FtStatus::BadHours},
      {"trailing empty line", good + "\r\n", FtStatus::BadHours},
      {"no final CR LF", good.substr(0, good.size() - 2), FtStatus::BadHours},
      {"LF line end", std::string(good).erase(r + 78, 1), FtStatus::BadHours},
      {"records out of order",
       std::string(good).replace(RecordOffset(5), 80, rec6).replace(RecordOffset(6), 80, rec5),
       FtStatus::BadHours},
      {"empty file", "", FtStatus::BadHeader},
      {"two header lines only", good.substr(0, 53 + 74), FtStatus::BadHeader},
      {"short site line", std::string(good).erase(10, 1), FtStatus::BadHeader},
      {"latitude", std::string(good).replace(25, 8, "   3x.74"), FtStatus::BadHeader},
      {"factor overflow", std::string(good).replace(53, 6, " 10.00 "), FtStatus::BadHeader},
      {"ground of 1000 R", std::string(good).replace(127, 6, " 1000.0"), FtStatus::BadHeader},
      {"LF in description", std::string(good).replace(5, 1, "\n"), FtStatus::BadHeader},
      // The CR LF 78 characters on is not the record's line end: one comes before it.
      {"line end inside a record", std::string(good).replace(r + 40, 2, "\r\n"),
       FtStatus::BadHours},
  };
  for (const Case& c : cases) {
    FtData data;
    const FtParseResult result = ParseFtText(c.text, data);
    EXPECT_EQ(result.status, c.status) << c.what << ": " << result.reason;
    EXPECT_FALSE(result.reason.empty()) << c.what;
  }
}

TEST(FtText, ALineEndInsideARecordEndsItsLine) {
  std::string text = SyntheticFtText();
  text.replace(RecordOffset(100) + 40, 2, "\r\n");
  FtData data;
  const FtParseResult result = ParseFtText(text, data);
  EXPECT_EQ(result.status, FtStatus::BadHours);
  EXPECT_EQ(result.reason.rfind("line 103 (hourly record) has 40 characters instead of 78: ", 0), 0u)
      << result.reason;
  EXPECT_EQ(data.hours[99], FtHourFields{});  // nothing of it was taken
}

FtData ParsedSynthetic(const char* firstRecord = nullptr) {
  std::string text = SyntheticFtText();
  if (firstRecord != nullptr) text.replace(RecordOffset(1), 78, firstRecord);
  FtData data;
  EXPECT_TRUE(ParseFtText(text, data).ok());
  return data;
}

// The offsets documented in docs/bin-format.md.
TEST(BinFormat, LayoutOfHeaderSiteAndFirstRecord) {
  const std::vector<unsigned char> bin = EncodeBin(ParsedSynthetic(kExampleRecord));
  ASSERT_EQ(bin.size(), 385612u);
  auto u16 = [&bin](size_t at) { return bin[at] | bin[at + 1] << 8; };
  auto u32 = [&bin](size_t at) {
    return static_cast<uint32_t>(bin[at] | bin[at + 1] << 8 | bin[at + 2] << 16) |
           static_cast<uint32_t>(bin[at + 3]) << 24;
  };
  EXPECT_EQ(std::memcmp(bin.data(), "KWB\x1A", 4), 0);
  EXPECT_EQ(u16(4), 1);  // version
  EXPECT_EQ(u16(6), 32);
  EXPECT_EQ(u32(8), 385580u);
  EXPECT_EQ(u32(12), Crc32(bin.data() + 32, 385580));
  EXPECT_EQ(u32(16), 8760u);
  EXPECT_EQ(u16(20), 44);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bin.data()) + 32, 25),
            "EPW SYNTHETIC TEST S 2005");
  EXPECT_EQ(u32(60), 3974u);   // latitude 39.74
  EXPECT_EQ(u32(64), 10518u);  // longitude 105.18 west
  EXPECT_EQ(u32(68), 7u);      // time zone 7 west
  EXPECT_EQ(u32(72), 5u);
  EXPECT_EQ(u32(76), 100u);    // January factor 1.00
  EXPECT_EQ(u32(124), 5001u);  // January ground temperature 500.1 R
  // The worked record: 1 1 1, 37, 40, 29.9, 0, 0, 0, 12, 0.0037, 0.079, 13.7, 0, 0, 2, 13.
  const std::vector<unsigned char> record(bin.begin() + 172, bin.begin() + 216);
  const std::vector<unsigned char> expected = {
      1, 1, 1, 0, 37, 0, 40, 0, 43, 1, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 37, 0,
      0, 0, 79, 0, 0, 0, 137, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 13, 0};
  EXPECT_EQ(record, expected);
  const size_t last = 172 + 8759 * 44;  // hour 8760 ends the file
  EXPECT_EQ(last + 44, bin.size());
  EXPECT_EQ(bin[last] * 10000 + bin[last + 1] * 100 + bin[last + 2], 123124);
}

TEST(BinFormat, EncodeRefusesValuesThatDoNotFitTheFtLayout) {
  FtData data = ParsedSynthetic();
  data.hours[10][kDryBulb] = 10000;  // five digits in a four-character field
  EXPECT_THROW(EncodeBin(data), BinFormatError);
  data.hours[10][kDirect] = -100000;  // the first field that does not fit is named
  EXPECT_EQ(CheckFtData(data), "field 5 of hourly record 11 does not fit its field");
  data.hours[10][kDryBulb] = 40;
  EXPECT_EQ(CheckFtData(data), "field 15 of hourly record 11 does not fit its field");
  data.hours[8759][kHour] = 23;
  EXPECT_EQ(CheckFtData(data), "field 15 of hourly record 11 does not fit its field");
  data.hours[10][kDirect] = 0;
  EXPECT_EQ(CheckFtData(data), "hourly record 8760 carries the wrong date");
  data = ParsedSynthetic();
  data.hours.pop_back();
  EXPECT_THROW(EncodeBin(data), BinFormatError);
}

TEST(BinFormat, DamageIsDetected) {
  const std::vector<unsigned char> good = EncodeBin(ParsedSynthetic());
  auto damaged = [&good](size_t at, unsigned char value) {
    std::vector<unsigned char> b = good;
    b[at] = value;
    return b;
  };
  // A month out of sequence behind a recomputed, valid CRC.
  std::vector<unsigned char> badDate = damaged(172 + 44 * 3, 7);
  const uint32_t crc = Crc32(badDate.data() + 32, badDate.size() - 32);
  for (int i = 0; i < 4; ++i) badDate[12 + i] = static_cast<unsigned char>(crc >> (8 * i));
  struct Case {
    std::vector<unsigned char> bytes;
    const char* fragment;
  };
  const Case cases[] = {
      {damaged(1000, good[1000] ^ 0x01), "CRC"},   // one bit of the hourly data
      {damaged(40, good[40] ^ 0x20), "CRC"},       // a letter of the description
      {damaged(0, 'X'), "magic"},
      {damaged(4, 2), "version 2"},
      {damaged(16, 0x67), "header"},               // hour count
      {std::vector<unsigned char>(good.begin(), good.end() - 1), "bytes"},
      {std::vector<unsigned char>(good.begin(), good.begin() + 10), "magic"},
      {badDate, "wrong date"},
  };
  for (const Case& c : cases) {
    try {
      DecodeBin(c.bytes.data(), c.bytes.size());
      ADD_FAILURE() << "no error, expected one about " << c.fragment;
    } catch (const BinFormatError& e) {
      EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
    }
  }
}

TEST(UnpackBin, RebuildsTheFtTextAndNamesTheFileInErrors) {
  kestrum::testing::ScratchDir dir;
  const std::string text = SyntheticFtText();
  kestrum::testing::WriteBytes(dir / "site.ft", text);
  ASSERT_EQ(PackFtFile(dir / "site.ft", dir / "site.bin"), 0);
  EXPECT_EQ(UnpackBin(dir / "site.bin"), text);

  std::string bytes = kestrum::testing::ReadBytes(dir / "site.bin");
  bytes[5000] ^= 0x40;
  kestrum::testing::WriteBytes(dir / "damaged.bin", bytes);
  try {
    UnpackBin(dir / "damaged.bin");
    ADD_FAILURE() << "a damaged file was unpacked";
  } catch (const UnpackError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find(dir / "damaged.bin"), std::string::npos) << what;
    EXPECT_NE(what.find("CRC"), std::string::npos) << what;
  }
  EXPECT_THROW(UnpackBin(dir / "missing.bin"), UnpackError);
  EXPECT_THROW(UnpackBin(dir.path().string()), UnpackError);  // a directory
  kestrum::testing::WriteBytes(dir / "big.bin", bytes + bytes);
  EXPECT_THROW(UnpackBin(dir / "big.bin"), UnpackError);
}

}  // namespace
}  // namespace kestrum::ftpack
