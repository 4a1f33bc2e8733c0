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

TEST(Crc32, StandardCheckValues) {
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(Crc32("", 0), 0u);
  // A running CRC over two pieces equals the CRC of the whole.
  EXPECT_EQ(Crc32("6789", 4, Crc32("12345", 5)), 0xCBF43926u);
}

std::string Field(int32_t v, FieldFormat f) {
  std::string out;
  AppendField(out, v, f);
  return out;
}

TEST(FtField, PrintsScaledIntegers) {
  EXPECT_EQ(Field(3762, kLatitudeFormat), "   37.62");
  EXPECT_EQ(Field(-12240, kLongitudeFormat), " -122.40");
  EXPECT_EQ(Field(5, FieldFormat{7, 4, false}), " 0.0005");
  EXPECT_EQ(Field(-5, FieldFormat{6, 1, false}), "  -0.5");
  EXPECT_EQ(Field(0, FieldFormat{4, 0, true}), "   0.");
  EXPECT_EQ(Field(-12, FieldFormat{4, 0, true}), " -12.");
  std::string wide;
  EXPECT_FALSE(AppendField(wide, 12345, FieldFormat{4, 0, true}));
  EXPECT_EQ(wide, "12345.");
}

TEST(FtField, AcceptsOnlyTheWritersOwnForm) {
  int32_t v = 0;
  EXPECT_TRUE(ParseField("  29.9", FieldFormat{6, 1, false}, v));
  EXPECT_EQ(v, 299);
  EXPECT_TRUE(ParseField(" -11.", FieldFormat{4, 0, true}, v));
  EXPECT_EQ(v, -11);
  EXPECT_TRUE(ParseField("  0.079", FieldFormat{7, 3, false}, v));
  EXPECT_EQ(v, 79);
  EXPECT_TRUE(ParseField("  -0.5", FieldFormat{6, 1, false}, v));
  EXPECT_EQ(v, -5);
  const FieldFormat f61{6, 1, false};
  for (const char* bad : {"  -0.0", "  029.", " 029.9", "  29.9 ", " 29.9 ", "  +9.9", "  29,9",
                          "   .99", "  29.  ", "  2 9.9", "      ", " 29.90", "   x.9", "29.9  "}) {
    EXPECT_FALSE(ParseField(bad, f61, v)) << '"' << bad << '"';
  }
  const FieldFormat whole{4, 0, true};
  for (const char* bad : {"  37 ", "  37", "   -0.", "  37.0", "  3 7.", "  037.", "    ."}) {
    EXPECT_FALSE(ParseField(bad, whole, v)) << '"' << bad << '"';
  }
}

TEST(FtText, ParsesTheWritersFileAndPrintsItBackByteForByte) {
  const std::string text = SyntheticFtText();
  FtData data;
  const FtParseResult result = ParseFtText(text, data);
  ASSERT_TRUE(result.ok()) << result.reason;
  EXPECT_EQ(std::string(data.site.description.data(), 25), "EPW SYNTHETIC TEST S 2005");
  EXPECT_EQ(data.site.latitude, 3974);
  EXPECT_EQ(data.site.westLongitude, 10518);
  EXPECT_EQ(data.site.westTimeZone, 7);
  EXPECT_EQ(data.site.siteCode, 5);
  EXPECT_EQ(data.monthFactors[11], 100);
  EXPECT_EQ(data.groundTemps[0], 5001);
  ASSERT_EQ(data.hours.size(), 8760u);
  EXPECT_EQ(data.hours[8759][kMonth], 12);
  EXPECT_EQ(data.hours[8759][kDay], 31);
  EXPECT_EQ(data.hours[8759][kHour], 24);
  EXPECT_EQ(PrintFtText(data), text);
}

TEST(FtText, WorkedExampleRecordBecomesScaledIntegers) {
  std::string text = SyntheticFtText();
  text.replace(RecordOffset(1), 78,
               " 1 1 1  37.  40.  29.9   0.  0  0  12 0.0037 0.079  13.7    0.0    0.0  2  13.");
  FtData data;
  ASSERT_TRUE(ParseFtText(text, data).ok());
  const FtHourFields expected = {1, 1, 1, 37, 40, 299, 0, 0, 0, 12, 37, 79, 137, 0, 0, 2, 13};
  EXPECT_EQ(data.hours[0], expected);
}

struct Malformed {
  const char* what;
  FtStatus status;
};

// Applies a damage to the synthetic text and checks the status it gives.
void ExpectStatus(const std::string& text, FtStatus status, const char* what) {
  FtData data;
  const FtParseResult result = ParseFtText(text, data);
  EXPECT_EQ(result.status, status) << what << ": " << result.reason;
  EXPECT_FALSE(result.reason.empty()) << what;
}

TEST(FtText, MalformedHourlyRecordsAreRefused) {
  const std::string good = SyntheticFtText();
  const size_t r100 = RecordOffset(100);
  std::string t;

  t = good;  // short line: last field lost
  t.erase(r100 + 73, 5);
  ExpectStatus(t, FtStatus::BadHours, "short line");

  t = good;  // a value that overflowed its field: the line is one character longer
  t.replace(r100 + 11, 5, "12345.");
  ExpectStatus(t, FtStatus::BadHours, "overflowed field");

  t = good;  // same length but a field moved one column: misaligned
  t.replace(r100 + 6, 10, " 37.   40.");
  ExpectStatus(t, FtStatus::BadHours, "misaligned fields");

  t = good;  // non-numeric field
  t.replace(r100 + 44, 6, " 0.0x9");
  ExpectStatus(t, FtStatus::BadHours, "non-numeric");

  t = good;  // 8759 records
  t.erase(RecordOffset(8760));
  ExpectStatus(t, FtStatus::BadHours, "8759 records");

  t = good;  // 8761 records
  t += good.substr(RecordOffset(8760));
  ExpectStatus(t, FtStatus::BadHours, "8761 records");

  t = good;  // a trailing empty line is text after the last record, too
  t += "\r\n";
  ExpectStatus(t, FtStatus::BadHours, "trailing empty line");

  t = good;  // last record without its line end
  t.erase(t.size() - 2);
  ExpectStatus(t, FtStatus::BadHours, "no final CR LF");

  t = good;  // LF only
  t.erase(r100 + 78, 1);
  ExpectStatus(t, FtStatus::BadHours, "LF line end");

  t = good;  // two records swapped: the dates no longer follow the year
  const std::string a = good.substr(RecordOffset(5), 80), b = good.substr(RecordOffset(6), 80);
  t.replace(RecordOffset(5), 80, b);
  t.replace(RecordOffset(6), 80, a);
  ExpectStatus(t, FtStatus::BadHours, "records out of order");
}

TEST(FtText, MalformedHeaderIsRefused) {
  const std::string good = SyntheticFtText();
  std::string t;

  ExpectStatus("", FtStatus::BadHeader, "empty file");
  ExpectStatus(good.substr(0, 53 + 74), FtStatus::BadHeader, "two header lines only");

  t = good;  // site line one character short
  t.erase(10, 1);
  ExpectStatus(t, FtStatus::BadHeader, "short site line");

  t = good;  // latitude not a number
  t.replace(25, 8, "   3x.74");
  ExpectStatus(t, FtStatus::BadHeader, "latitude");

  t = good;  // a monthly factor overflowed: line 2 is longer
  t.replace(53, 6, " 10.00 ");
  ExpectStatus(t, FtStatus::BadHeader, "factor line");

  t = good;  // a ground temperature of 1000 R or more no longer fits six characters
  t.replace(53 + 74, 6, " 1000.0");
  ExpectStatus(t, FtStatus::BadHeader, "ground line");

  t = good;  // a line break inside the description
  t[5] = '\n';
  ExpectStatus(t, FtStatus::BadHeader, "description with LF");
}

TEST(FtText, DescriptionBytesAreKeptAsWritten) {
  // Windows-1252 letters and punctuation in the description survive unchanged.
  const std::string text = SyntheticFtText("S\xC3O PAULO \"CONGONHAS\"; \xE9t\xE9", false);
  FtData data;
  ASSERT_TRUE(ParseFtText(text, data).ok());
  EXPECT_EQ(std::string(data.site.description.data(), 25), "S\xC3O PAULO \"CONGONHAS\"; \xE9t");
  EXPECT_EQ(PrintFtText(data), text);
}

FtData ParsedSynthetic() {
  FtData data;
  EXPECT_TRUE(ParseFtText(SyntheticFtText(), data).ok());
  return data;
}

TEST(BinFormat, LayoutOfHeaderAndFirstRecord) {
  std::string text = SyntheticFtText();
  text.replace(RecordOffset(1), 78,
               " 1 1 1  37.  40.  29.9   0.  0  0  12 0.0037 0.079  13.7    0.0    0.0  2  13.");
  FtData data;
  ASSERT_TRUE(ParseFtText(text, data).ok());
  const std::vector<unsigned char> bin = EncodeBin(data);
  ASSERT_EQ(bin.size(), 385612u);
  ASSERT_EQ(bin.size(), kBinFileSize);
  auto u16 = [&bin](size_t at) { return bin[at] | bin[at + 1] << 8; };
  auto u32 = [&bin](size_t at) {
    return static_cast<uint32_t>(bin[at] | bin[at + 1] << 8 | bin[at + 2] << 16) |
           static_cast<uint32_t>(bin[at + 3]) << 24;
  };
  EXPECT_EQ(std::memcmp(bin.data(), "KWB\x1A", 4), 0);
  EXPECT_EQ(u16(4), 1);           // version
  EXPECT_EQ(u16(6), 32);          // header size
  EXPECT_EQ(u32(8), 385580u);     // payload size
  EXPECT_EQ(u32(12), Crc32(bin.data() + 32, 385580));
  EXPECT_EQ(u32(16), 8760u);      // hours
  EXPECT_EQ(u16(20), 44);         // bytes per hour
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bin.data()) + 32, 25),
            "EPW SYNTHETIC TEST S 2005");
  EXPECT_EQ(u32(60), 3974u);      // latitude, 0.01 degree
  EXPECT_EQ(u32(64), 10518u);     // longitude west, 0.01 degree
  EXPECT_EQ(u32(68), 7u);         // time zone west
  EXPECT_EQ(u32(72), 5u);         // site code
  EXPECT_EQ(u32(76), 100u);       // January factor
  EXPECT_EQ(u32(124), 5001u);     // January ground temperature, 0.1 R
  const size_t r = 172;           // first hourly record
  EXPECT_EQ(bin[r], 1);
  EXPECT_EQ(bin[r + 1], 1);
  EXPECT_EQ(bin[r + 2], 1);
  EXPECT_EQ(bin[r + 3], 0);
  EXPECT_EQ(u16(r + 4), 37);      // wet bulb
  EXPECT_EQ(u16(r + 6), 40);      // dry bulb
  EXPECT_EQ(u32(r + 8), 299u);    // pressure, 0.1 inHg
  EXPECT_EQ(u16(r + 18), 12);     // sector
  EXPECT_EQ(u32(r + 20), 37u);    // humidity ratio, 0.0001
  EXPECT_EQ(u32(r + 24), 79u);    // density, 0.001
  EXPECT_EQ(u32(r + 28), 137u);   // enthalpy, 0.1
  EXPECT_EQ(u16(r + 40), 2);      // cloud type
  EXPECT_EQ(u16(r + 42), 13);     // wind speed, knots
  // Hour 8760 is the last record of the file.
  EXPECT_EQ(bin[r + 8759 * 44], 12);
  EXPECT_EQ(bin[r + 8759 * 44 + 1], 31);
  EXPECT_EQ(bin[r + 8759 * 44 + 2], 24);
}

TEST(BinFormat, NegativeValuesAreTwosComplement) {
  FtData data = ParsedSynthetic();
  data.hours[0][kDryBulb] = -25;
  data.hours[0][kEnthalpy] = -80;
  const std::vector<unsigned char> bin = EncodeBin(data);
  EXPECT_EQ(bin[172 + 6], 0xE7);
  EXPECT_EQ(bin[172 + 7], 0xFF);
  EXPECT_EQ(bin[172 + 28], 0xB0);
  EXPECT_EQ(bin[172 + 31], 0xFF);
  const FtData back = DecodeBin(bin.data(), bin.size());
  EXPECT_EQ(back.hours[0][kDryBulb], -25);
  EXPECT_EQ(back.hours[0][kEnthalpy], -80);
}

TEST(BinFormat, DecodeRebuildsTheSameValues) {
  const FtData data = ParsedSynthetic();
  const std::vector<unsigned char> bin = EncodeBin(data);
  const FtData back = DecodeBin(bin.data(), bin.size());
  EXPECT_EQ(back.site.description, data.site.description);
  EXPECT_EQ(back.monthFactors, data.monthFactors);
  EXPECT_EQ(back.groundTemps, data.groundTemps);
  EXPECT_EQ(back.hours, data.hours);
}

TEST(BinFormat, EncodeRefusesValuesThatDoNotFitTheFtLayout) {
  FtData data = ParsedSynthetic();
  data.hours[10][kDryBulb] = 10000;  // five digits in a four-character field
  EXPECT_THROW(EncodeBin(data), BinFormatError);
  data = ParsedSynthetic();
  data.hours.pop_back();
  EXPECT_THROW(EncodeBin(data), BinFormatError);
}

void ExpectDecodeError(std::vector<unsigned char> bin, const char* fragment) {
  try {
    DecodeBin(bin.data(), bin.size());
    ADD_FAILURE() << "no error, expected one about " << fragment;
  } catch (const BinFormatError& e) {
    EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
  }
}

TEST(BinFormat, DamageIsDetected) {
  const std::vector<unsigned char> good = EncodeBin(ParsedSynthetic());
  std::vector<unsigned char> b;

  b = good;
  b[1000] ^= 0x01;  // one bit in the hourly data
  ExpectDecodeError(b, "CRC");

  b = good;
  b[40] ^= 0x20;  // a letter of the description
  ExpectDecodeError(b, "CRC");

  b = good;
  b[0] = 'X';
  ExpectDecodeError(b, "magic");

  b = good;
  b[4] = 2;
  ExpectDecodeError(b, "version 2");

  b = good;
  b.pop_back();
  ExpectDecodeError(b, "bytes");

  b = good;
  b.push_back(0);
  ExpectDecodeError(b, "bytes");

  ExpectDecodeError(std::vector<unsigned char>(good.begin(), good.begin() + 10), "magic");
  ExpectDecodeError(std::vector<unsigned char>(good.begin(), good.begin() + 32), "bytes");

  b = good;
  b[16] = 0x67;  // hour count 8807
  ExpectDecodeError(b, "header");
}

TEST(BinFormat, ValuesOutsideTheFtLayoutAreRefusedEvenWithAValidCrc) {
  std::vector<unsigned char> b = EncodeBin(ParsedSynthetic());
  b[172 + 44 * 3] = 7;  // month of hour 4
  const uint32_t crc = Crc32(b.data() + 32, b.size() - 32);
  for (int i = 0; i < 4; ++i) b[12 + i] = static_cast<unsigned char>(crc >> (8 * i));
  ExpectDecodeError(b, "wrong date");
}

TEST(UnpackBin, RebuildsTheFtTextAndNamesTheFileInErrors) {
  kestrum::testing::ScratchDir dir;
  const std::string text = SyntheticFtText();
  kestrum::testing::WriteFile(dir / "site.ft", text);
  ASSERT_EQ(PackFtFile(dir / "site.ft", dir / "site.bin"), 0);
  EXPECT_EQ(UnpackBin(dir / "site.bin"), text);

  std::string bytes = kestrum::testing::ReadFile(dir / "site.bin");
  bytes[5000] ^= 0x40;
  kestrum::testing::WriteFile(dir / "damaged.bin", bytes);
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
  kestrum::testing::WriteFile(dir / "big.bin", bytes + bytes);
  EXPECT_THROW(UnpackBin(dir / "big.bin"), UnpackError);
}

TEST(NameFromBuffer, BlankPaddedNamesOnly) {
  char buf[128];
  std::string name;
  auto fill = [&buf](const std::string& s) {
    std::memset(buf, ' ', sizeof buf);
    std::memcpy(buf, s.data(), s.size());
  };
  fill("Golden");
  ASSERT_TRUE(NameFromBuffer(buf, sizeof buf, name));
  EXPECT_EQ(name, "Golden");
  fill("two words");
  ASSERT_TRUE(NameFromBuffer(buf, sizeof buf, name));
  EXPECT_EQ(name, "two words");
  fill(std::string(127, 'a'));
  ASSERT_TRUE(NameFromBuffer(buf, sizeof buf, name));
  EXPECT_EQ(name.size(), 127u);

  fill("");
  EXPECT_FALSE(NameFromBuffer(buf, sizeof buf, name));
  fill(std::string(128, 'a'));
  EXPECT_FALSE(NameFromBuffer(buf, sizeof buf, name));
  fill("../elsewhere/site");
  EXPECT_FALSE(NameFromBuffer(buf, sizeof buf, name));
  fill(std::string("ab\0cd", 5));
  EXPECT_FALSE(NameFromBuffer(buf, sizeof buf, name));
  std::memset(buf, 0, sizeof buf);  // never written
  EXPECT_FALSE(NameFromBuffer(buf, sizeof buf, name));
}

}  // namespace
}  // namespace kestrum::ftpack
