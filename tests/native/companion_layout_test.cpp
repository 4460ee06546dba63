// Every csv and tsv output of the companion reads as one table: read back by an RFC
// 4180 reader, each record has the fields of the first (the title line in csv),
// whatever options are combined.
#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Record = std::vector<std::string>;

// RFC 4180, strictly: records end in CR LF (the last one too, here); a field is bare
// (no quote, comma, CR or LF) or quoted, a quote inside doubled. Returns false on
// anything else.
bool ReadCsv(const std::string& text, std::vector<Record>& records) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    Record record;
    for (;;) {
      std::string field;
      if (i < n && text[i] == '"') {
        for (++i;; ++i) {
          if (i >= n) return false;  // an open quote at the end
          if (text[i] != '"') {
            field += text[i];
            continue;
          }
          if (i + 1 < n && text[i + 1] == '"') {
            field += '"';
            ++i;
            continue;
          }
          ++i;
          break;
        }
      } else {
        for (; i < n && text[i] != ',' && text[i] != '\r'; ++i) {
          if (text[i] == '"' || text[i] == '\n') return false;
          field += text[i];
        }
      }
      record.push_back(field);
      if (i < n && text[i] == ',') {
        ++i;
        continue;
      }
      if (i + 1 < n && text[i] == '\r' && text[i + 1] == '\n') {
        i += 2;
        break;
      }
      return false;  // a record not ended by CR LF
    }
    records.push_back(record);
  }
  return true;
}

// Tab-separated lines, each ended by LF; no field holds a tab, CR or LF.
bool ReadTsv(const std::string& text, std::vector<Record>& records) {
  if (!text.empty() && text.back() != '\n') return false;
  for (const std::string& line : Lines(text)) {
    if (line.find('\r') != std::string::npos) return false;
    Record record(1);
    for (char c : line) {
      if (c == '\t')
        record.emplace_back();
      else
        record.back() += c;
    }
    records.push_back(record);
  }
  return true;
}

// The options to combine, each given or not; those that cannot stand together are
// refused (exit 2) and checked elsewhere.
struct Choice {
  std::vector<std::string> bxCan;  // empty: not for bxCAN
  std::vector<std::string> fdcan;  // empty: not for FDCAN
};

const Choice kChoices[] = {
    {{"--decode", "0x4306001B"}, {"--decode", "0x06041A03"}},
    {{}, {"--decode-data", "0x00800A33"}},
    {{"--best"}, {"--best"}},
    {{}, {"--data-rate", "2000"}},
    {{"--rate", "480"}, {"--rate", "1000"}},
    {{"--wide"}, {"--wide"}},
};
constexpr int kChoiceCount = sizeof kChoices / sizeof kChoices[0];

TEST(CompanionLayout, EveryCsvAndTsvLineHasTheTitleLinesFields) {
  int outputs = 0;
  for (const bool fdcan : {false, true}) {
    for (const char* format : {"csv", "tsv"}) {
      for (int mask = 0; mask < (1 << kChoiceCount); ++mask) {
        std::vector<std::string> arguments = {"--controller", fdcan ? "fdcan" : "bxcan", "--clock", "80",
                                              "--format", format};
        bool possible = true;
        bool decoding = false;
        for (int c = 0; c < kChoiceCount; ++c) {
          if ((mask & (1 << c)) == 0) continue;
          const std::vector<std::string>& option = fdcan ? kChoices[c].fdcan : kChoices[c].bxCan;
          possible = possible && !option.empty();
          if (option.empty()) continue;
          decoding = decoding || option[0].rfind("--decode", 0) == 0;
          arguments.insert(arguments.end(), option.begin(), option.end());
        }
        if (!possible) continue;
        // Only a search takes a sample point and a tolerance; a decode refuses them.
        if (!decoding) arguments.insert(arguments.end(), {"--sample-point", "75", "--tolerance", "1"});
        // --best with a decode; a rate that no decoded phase is measured against.
        const bool decode = (mask & 1) != 0, decodeData = fdcan && (mask & 2) != 0, dataRate = fdcan && (mask & 8) != 0;
        const bool refused = (decoding && (mask & 4) != 0) || (decode && !decodeData && dataRate) ||
                             (decodeData && !decode && (mask & 16) != 0);
        const CompanionRun run = RunCompanion(arguments);
        std::string context;
        for (const std::string& a : arguments) context += a + " ";
        ASSERT_EQ(run.exitCode, refused ? 2 : 0) << context << run.err;
        if (refused) continue;
        std::vector<Record> records;
        ASSERT_TRUE(std::string(format) == "csv" ? ReadCsv(run.out, records) : ReadTsv(run.out, records)) << context;
        ASSERT_GE(records.size(), 1u) << context;
        for (const Record& record : records) ASSERT_EQ(record.size(), records[0].size()) << context;
        ++outputs;
      }
    }
  }
  // Per format: bxCAN's 16 combinations and FDCAN's 64, less those refused (4 with
  // --best and a decode; 32 of FDCAN's, those with a rate no decoded phase takes too).
  EXPECT_EQ(outputs, 2 * (16 - 4) + 2 * (64 - 32));
}

// The reader itself refuses what is not RFC 4180, so the test above can fail.
TEST(CompanionLayout, TheReaderRefusesBrokenCsv) {
  std::vector<Record> records;
  EXPECT_TRUE(ReadCsv("a,\"b,\"\"c\"\"\"\r\n,\r\n", records));
  EXPECT_EQ(records, (std::vector<Record>{{"a", "b,\"c\""}, {"", ""}}));
  for (const char* broken : {"a,b\n", "a\"b\r\n", "\"a\r\n", "\"a\"b\r\n", "a,b"}) {
    records.clear();
    EXPECT_FALSE(ReadCsv(broken, records)) << broken;
  }
}

}  // namespace
