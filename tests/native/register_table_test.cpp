// The register table (calc/can_registers.h): its rows are sound registers, and the
// layouts that the help text, the manual page and docs/companion.md print in prose
// (bit positions, shifts, reserved bits, ranges) say what the rows say.
#include "answers/code_forms.h"
#include "calc/bit_timing_search.h"
#include "calc/bxcan_register.h"
#include "calc/can_registers.h"
#include "calc/controllers.h"
#include "calc/fdcan_timing.h"
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// ---- the rows themselves ----

TEST(RegisterTable, FieldsLieInsideTheirRegisterAndNeverOverlap) {
  for (const Register* reg : kCanRegisters) {
    uint32_t seen = 0;
    for (int i = 0; i < reg->fieldCount; ++i) {
      const RegisterField& field = reg->fields[i];
      EXPECT_GT(field.width, 0) << reg->name << " " << field.name;
      EXPECT_LE(field.firstBit + field.width, reg->bits) << reg->name << " " << field.name;
      EXPECT_EQ(seen & FieldMask(field), 0u) << reg->name << " " << field.name << " overlaps";
      seen |= FieldMask(field);
      if (field.role == FieldRole::kFlag) EXPECT_EQ(field.width, 1) << reg->name << " " << field.name;
    }
    EXPECT_EQ(seen | ReservedBits(*reg), 0xFFFFFFFFu) << reg->name;
    EXPECT_EQ(seen & ReservedBits(*reg), 0u) << reg->name;
  }
}

TEST(RegisterTable, EveryRegisterHasEachLengthOnce) {
  for (const Register* reg : kCanRegisters) {
    for (FieldRole role : {FieldRole::kPrescaler, FieldRole::kSeg1, FieldRole::kSeg2, FieldRole::kSjw}) {
      int count = 0;
      for (int i = 0; i < reg->fieldCount; ++i) count += reg->fields[i].role == role ? 1 : 0;
      EXPECT_EQ(count, 1) << reg->name << " role " << static_cast<int>(role);
    }
  }
}

TEST(RegisterTable, FlagsByName) {
  EXPECT_EQ(FlagMask(kCanBtr, "LBKM"), 1u << 30);
  EXPECT_EQ(FlagMask(kCanBtr, "SILM"), 1u << 31);
  EXPECT_EQ(FlagMask(kDbtp, "TDC"), 1u << 23);
  EXPECT_EQ(FlagMask(kCanBtr, "TDC"), 0u);    // another register's
  EXPECT_EQ(FlagMask(kCanBtr, "LBK"), 0u);    // a prefix is no name
  EXPECT_EQ(FlagMask(kCanBtr, "LBKMX"), 0u);  // nor a longer one
  EXPECT_EQ(FlagMask(kCanBtr, "BRP"), 0u);    // a length is no flag
}

// A byte-wide register with a field stored as it is, the shape of the controllers to
// come: its reserved bits stop at its width, and its values come back.
constexpr RegisterField kByteFields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kValue},
};
constexpr Register kByte{"CNF1", 8, kByteFields, 2};

TEST(RegisterTable, NarrowRegistersAndFieldsStoredAsTheyAre) {
  EXPECT_EQ(ReservedBits(kByte), 0u);
  EXPECT_EQ(LengthRange(kByte, FieldRole::kPrescaler).first, 1);
  EXPECT_EQ(LengthRange(kByte, FieldRole::kPrescaler).last, 64);
  EXPECT_EQ(LengthRange(kByte, FieldRole::kSjw).first, 0);
  EXPECT_EQ(LengthRange(kByte, FieldRole::kSjw).last, 3);
  EXPECT_EQ(LengthRange(kByte, FieldRole::kSeg1).last, -1);  // no such field
  EXPECT_EQ(EncodeLengths({64, 5, 5, 2}, kByte), 0xBFu);
  const DecodedLengths back = DecodeLengths(0x81u, kByte);
  EXPECT_EQ(back.lengths.prescaler, 2);
  EXPECT_EQ(back.lengths.sjw, 2);
  EXPECT_EQ(back.lengths.seg1, 0);
  EXPECT_EQ(back.reservedBits, 0u);
  EXPECT_EQ(DecodeLengths(0x100u, kByte).reservedBits, 0u);  // beyond the register: not its bits
}

// ---- the prose ----

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// One line of running text: the manual's "\-" as "-", the en dash as "-", every run of
// white space as one blank, the man page's request lines (".B --rate") as words.
std::string Prose(std::string text) {
  text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
  text = std::regex_replace(text, std::regex("\xE2\x80\x93"), "-");
  text = std::regex_replace(text, std::regex(R"(\n\.[A-Z]+ )"), "\n");
  return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

struct Document {
  const char* name;
  std::string text;
};

std::vector<Document> Documents() {
  const std::string root = QUILLMERE_SOURCE_DIR;
  return {{"--help", Prose(UsageText())},
          {"docs/companion.md", Prose(ReadFile(root + "/docs/companion.md"))},
          {"docs/quillmere-cli.1", Prose(ReadFile(root + "/docs/quillmere-cli.1"))}};
}

const Document& Named(const std::vector<Document>& documents, const std::string& name) {
  for (const Document& document : documents)
    if (name == document.name) return document;
  return documents.front();
}

// "10 to 15, 23, 26-29", "21, 22 and 24-31", "30 and 31": the bits a list names.
uint32_t BitsOfList(const std::string& list) {
  uint32_t bits = 0;
  const std::regex item(R"((\d+)(?:\s*(?:to|-)\s*(\d+))?)");
  for (std::sregex_iterator it(list.begin(), list.end(), item), end; it != end; ++it) {
    int a = std::stoi((*it)[1]);
    int b = (*it)[2].matched ? std::stoi((*it)[2]) : a;
    if (a > b) std::swap(a, b);
    for (int bit = a; bit <= b; ++bit) bits |= 1u << bit;
  }
  return bits;
}

uint32_t MaskOf(const Register& reg, FieldRole role) { return FieldMask(*LengthField(reg, role)); }

// Where a document names bits in prose, the bits the table has there.
TEST(RegisterTable, BitsNamedInTheDocsAreTheTables) {
  const std::vector<Document> documents = Documents();
  const struct {
    const char* document;
    const char* pattern;  // its first group holds the bit list
    uint32_t bits;
  } cases[] = {
      {"docs/companion.md", R"(`CAN_SJW_4tq`, bits ([0-9-]+)\))", MaskOf(kCanBtr, FieldRole::kSjw)},
      {"docs/companion.md", R"(CAN_BTR \(bits ([0-9-]+)\))", MaskOf(kCanBtr, FieldRole::kSjw)},
      {"docs/companion.md", R"(`loop-back` for bit (\d+))", kLoopBackBit},
      {"docs/companion.md", R"(`silent` for bit (\d+))", kSilentBit},
      {"docs/companion.md", R"(nominal value \(bit (\d+) is reserved\))", ReservedBits(kNbtp)},
      {"docs/companion.md", R"(data value \(bits ([0-9, and-]+) are reserved)", ReservedBits(kDbtp)},
      {"docs/companion.md", R"(are reserved; bit (\d+) is the transceiver delay compensation)", kTdcBit},
      {"docs/quillmere-cli.1", R"(\(bits (\d+ and \d+) of CAN_BTR)", MaskOf(kCanBtr, FieldRole::kSjw)},
      {"docs/quillmere-cli.1", R"(from bits (\d+ and \d+)\))", kLoopBackBit | kSilentBit},
      {"docs/quillmere-cli.1", R"(reserved bit set \(([0-9, to]+)\))", kCanBtrReservedBits},
      {"docs/quillmere-cli.1", R"(seg2 6 to 0; bit (\d+) is reserved\))", ReservedBits(kNbtp)},
      {"docs/quillmere-cli.1", R"(and bit (\d+), transceiver delay compensation)", kTdcBit},
  };
  for (const auto& c : cases) {
    std::smatch match;
    const std::string& text = Named(documents, c.document).text;
    ASSERT_TRUE(std::regex_search(text, match, std::regex(c.pattern))) << c.document << ": no " << c.pattern;
    EXPECT_EQ(BitsOfList(match[1]), c.bits) << c.document << ": " << match[0];
  }
}

// "SJW bits 31 to 25, prescaler 24 to 16, ...": every field a list names, where the
// table has it.
TEST(RegisterTable, FieldPlacesInTheManualAreTheTables) {
  const std::vector<Document> documents = Documents();
  const std::string& man = Named(documents, "docs/quillmere-cli.1").text;
  const struct {
    const char* pattern;
    const Register& reg;
  } cases[] = {
      {R"(NBTP value \(([^;)]*);)", kNbtp},
      {R"(DBTP value \(([^)]*), and bit)", kDbtp},
  };
  const std::regex field(R"((prescaler|seg1|seg2|SJW)(?: bits)? (\d+) to (\d+))");
  for (const auto& c : cases) {
    std::smatch span;
    ASSERT_TRUE(std::regex_search(man, span, std::regex(c.pattern))) << c.pattern;
    const std::string list = span[1];
    int named = 0;
    for (std::sregex_iterator it(list.begin(), list.end(), field), end; it != end; ++it, ++named) {
      const std::string name = (*it)[1];
      const FieldRole role = name == "prescaler" ? FieldRole::kPrescaler
                             : name == "seg1"    ? FieldRole::kSeg1
                             : name == "seg2"    ? FieldRole::kSeg2
                                                 : FieldRole::kSjw;
      EXPECT_EQ(BitsOfList((*it)[2].str() + " to " + (*it)[3].str()), MaskOf(c.reg, role)) << c.reg.name << ": " << (*it)[0];
    }
    EXPECT_EQ(named, 4) << c.reg.name << ": " << list;
  }
}

// The formula "(SJW - 1) << 24 | (BS2 - 1) << 20 | (BS1 - 1) << 16 | (prescaler - 1)"
// as the table gives it: the lengths from the highest field down, with the names the
// docs use.
std::string Formula(const Register& reg, const char* seg1, const char* seg2) {
  std::string formula;
  for (int bit = reg.bits - 1; bit >= 0; --bit) {
    for (int i = 0; i < reg.fieldCount; ++i) {
      const RegisterField& f = reg.fields[i];
      if (f.firstBit != bit || f.role == FieldRole::kFlag) continue;
      const std::string name = f.role == FieldRole::kPrescaler ? "prescaler"
                               : f.role == FieldRole::kSeg1    ? seg1
                               : f.role == FieldRole::kSeg2    ? seg2
                                                               : "SJW";
      if (!formula.empty()) formula += " | ";
      formula += f.stored == Stored::kLessOne ? "(" + name + " - 1)" : name;
      if (bit > 0) formula += " << " + std::to_string(bit);
    }
  }
  return formula;
}

TEST(RegisterTable, FormulasInTheDocsAreTheTables) {
  const std::string btr = Formula(kCanBtr, "BS1", "BS2");
  EXPECT_EQ(btr, "(SJW - 1) << 24 | (BS2 - 1) << 20 | (BS1 - 1) << 16 | (prescaler - 1)");
  const std::vector<Document> documents = Documents();
  for (const char* name : {"docs/companion.md", "docs/quillmere-cli.1"}) {
    const std::string& text = Named(documents, name).text;
    for (const std::string& formula : {btr, Formula(kNbtp, "seg1", "seg2"), Formula(kDbtp, "seg1", "seg2")})
      EXPECT_NE(text.find(formula), std::string::npos) << name << " lacks " << formula;
  }
}

std::string RangeText(const FieldRange& range) { return std::to_string(range.first) + " to " + std::to_string(range.last); }

// "prescaler 1 to 1024, BS1 1 to 16 tq, BS2 1 to 8 tq" and the FDCAN phases' likes:
// every such list in the help text and the manuals names one of the searches' ranges,
// which the table bounds.
TEST(RegisterTable, RangesInTheDocsAreTheSearches) {
  const struct {
    const char* seg1;
    const TimingRanges& ranges;
    const Register& reg;
  } searches[] = {{"BS1", kBxCanRanges, kCanBtr}, {"seg1", kFdcanNominalRanges, kNbtp}, {"seg1", kFdcanDataRanges, kDbtp}};
  for (const auto& s : searches) {
    EXPECT_EQ(s.ranges.prescaler.last, LengthRange(s.reg, FieldRole::kPrescaler).last) << s.reg.name;
    EXPECT_EQ(s.ranges.seg1.last, LengthRange(s.reg, FieldRole::kSeg1).last) << s.reg.name;
    EXPECT_EQ(s.ranges.seg2.last, LengthRange(s.reg, FieldRole::kSeg2).last) << s.reg.name;
    EXPECT_EQ(s.ranges.sjw.last, LengthRange(s.reg, FieldRole::kSjw).last) << s.reg.name;
  }
  const std::regex list(
      R"(prescaler (\d+ to \d+), (BS1|seg1) (\d+ to \d+)(?: tq| time quanta)?,? (?:and )?(BS2|seg2) (\d+ to \d+))");
  const std::vector<Document> documents = Documents();
  for (const Document& document : documents) {
    int found = 0;
    for (std::sregex_iterator it(document.text.begin(), document.text.end(), list), end; it != end; ++it) {
      const std::string prescaler = (*it)[1];
      if (std::stoi(prescaler) > std::stoi(prescaler.substr(prescaler.find(" to ") + 4))) continue;  // bit places
      ++found;
      bool known = false;
      for (const auto& s : searches) {
        known = known || ((*it)[2] == s.seg1 && (*it)[1] == RangeText(s.ranges.prescaler) &&
                          (*it)[3] == RangeText(s.ranges.seg1) && (*it)[5] == RangeText(s.ranges.seg2));
      }
      EXPECT_TRUE(known) << document.name << ": " << (*it)[0];
    }
    EXPECT_GE(found, 1) << document.name;
  }
  // The SJW's ranges, as the help text gives them.
  const std::string& help = Named(documents, "--help").text;
  EXPECT_NE(help.find("bxCAN " + RangeText(kBxCanRanges.sjw) + " (default 1); FDCAN's nominal phase " +
                      RangeText(kFdcanNominalRanges.sjw)),
            std::string::npos);
  EXPECT_NE(help.find("the data phase's SJW, " + RangeText(kFdcanDataRanges.sjw) + " tq"), std::string::npos);
}

}  // namespace

namespace {

// "prescaler 2 to 128 in steps of 2, seg1 2 to 16 (prop 1 to 8 + phase1 1 to 8), seg2 2
// to 8, SJW 1 to 4" for one phase of an entry.
std::string PhaseLimitsText(const PhaseLimits& limits) {
  std::string text = "prescaler " + RangeText(limits.prescaler);
  if (limits.prescalerStep != 1) text += " in steps of " + std::to_string(limits.prescalerStep);
  text += ", seg1 " + RangeText(limits.seg1);
  if (limits.prop.first <= limits.prop.last)
    text += " (prop " + RangeText(limits.prop) + " + phase1 " + RangeText(limits.phase1) + ")";
  return text + ", seg2 " + RangeText(limits.seg2) + ", SJW " + RangeText(limits.sjw);
}

// Every entry of the controller table is named by the help text and the manual page,
// and docs/controllers.md has a section for it whose limits are the table's: a new row
// cannot go undocumented, nor a changed limit stay in the docs.
TEST(ControllerDocs, EveryEntryIsNamedAndItsLimitsAreTheTables) {
  const std::vector<Document> documents = Documents();
  const std::string guide = ReadFile(std::string(QUILLMERE_SOURCE_DIR) + "/docs/controllers.md");
  for (int32_t k = 0; k < ControllerCount(); ++k) {
    const ControllerEntry& entry = ControllerAt(k);
    const std::string name = entry.name;
    for (const char* document : {"--help", "docs/quillmere-cli.1"}) {
      const std::string& text = Named(documents, document).text;
      EXPECT_TRUE(std::regex_search(text, std::regex("[ (;,]" + std::regex_replace(name, std::regex(R"([.])"), R"(\.)") +
                                                     "[ ,;)]")))
          << document << " lacks " << name;
    }
    const std::size_t start = guide.find("### `" + name + "`\n");
    ASSERT_NE(start, std::string::npos) << "docs/controllers.md has no section for " << name;
    const std::string section = guide.substr(start, guide.find("\n#", start + 1) - start);
    EXPECT_NE(section.find("- Nominal: " + PhaseLimitsText(entry.nominal)), std::string::npos) << name;
    if (entry.fd) EXPECT_NE(section.find("- Data: " + PhaseLimitsText(entry.data)), std::string::npos) << name;
    for (int32_t i = 0; i < entry.nominal.registerCount; ++i)
      EXPECT_NE(section.find(std::string("`") + entry.nominal.registers[i]->name + "` ("), std::string::npos)
          << name << " " << entry.nominal.registers[i]->name;
    // The code forms the companion accepts, as its refusal names them, less the four
    // listing formats every entry has.
    const std::string listings = "table, tsv, csv, json";
    const std::string forms = FormNames(entry);
    ASSERT_EQ(forms.compare(0, listings.size(), listings), 0) << name << ": " << forms;
    const std::string codeForms = forms.size() > listings.size() ? forms.substr(listings.size() + 2) : "none";
    EXPECT_NE(section.find("\n- Code forms: " + codeForms + ".\n"), std::string::npos)
        << "docs/controllers.md: " << name << " has the code forms " << codeForms;
  }
}

}  // namespace
