// The register tables (calc/registers.h): their rows are sound registers, and the
// layouts that the help text, the manual page, docs/companion.md and
// docs/controllers.md print (bit positions, shifts, reserved bits, ranges) say what the
// rows say.
#include "answers/request/code_forms.h"
#include "calc/bit_timing_search.h"
#include "calc/bxcan_register.h"
#include "calc/controllers.h"
#include "calc/fdcan_timing.h"
#include "calc/registers.h"
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// ---- the rows themselves ----

// Every register a controller writes: each phase's, and those no phase lists (the TDC
// register the fdcan code forms write beside DBTP).
std::vector<const Register*> EveryRegister() {
  std::vector<const Register*> all = {&kTdcr};
  for (int32_t k = 0; k < ControllerCount(); ++k) {
    const ControllerEntry& entry = ControllerAt(k);
    for (const PhaseLimits* limits : {&entry.nominal, &entry.data})
      for (int32_t i = 0; i < limits->registerCount; ++i) all.push_back(limits->registers[i]);
  }
  return all;
}

TEST(RegisterTable, FieldsLieInsideTheirRegisterAndNeverOverlap) {
  const std::vector<const Register*> all = EveryRegister();
  ASSERT_GT(all.size(), 30u);
  for (const Register* reg : all) {
    ASSERT_TRUE(reg->bits == 8 || reg->bits == 16 || reg->bits == 24 || reg->bits == 32) << reg->name;
    const uint32_t allBits = static_cast<uint32_t>((uint64_t{1} << reg->bits) - 1);
    uint32_t seen = 0;
    for (int i = 0; i < reg->fieldCount; ++i) {
      const RegisterField& field = reg->fields[i];
      EXPECT_GT(field.width, 0) << reg->name << " " << field.name;
      EXPECT_GE(field.firstBit, 0) << reg->name << " " << field.name;
      EXPECT_LE(field.firstBit + field.width, reg->bits) << reg->name << " " << field.name << " lies outside";
      EXPECT_EQ(seen & FieldMask(field), 0u) << reg->name << " " << field.name << " overlaps";
      seen |= FieldMask(field);
      if (field.role == FieldRole::kFlag) EXPECT_EQ(field.width, 1) << reg->name << " " << field.name;
      if (field.role == FieldRole::kFixed)
        EXPECT_EQ(field.fixedValue >> field.width, 0u) << reg->name << " " << field.name << " cannot hold its value";
    }
    EXPECT_EQ(seen | ReservedBits(*reg), allBits) << reg->name;
    EXPECT_EQ(seen & ReservedBits(*reg), 0u) << reg->name;
  }
}

// A phase's registers hold each length once (a prescaler may be cut into parts), and
// seg1 in one field or as prop and phase1 exactly where the phase's limits split it.
TEST(RegisterTable, EachPhaseHoldsEveryLengthOnce) {
  for (int32_t k = 0; k < ControllerCount(); ++k) {
    const ControllerEntry& entry = ControllerAt(k);
    for (const PhaseLimits* limits : {&entry.nominal, &entry.data}) {
      if (limits->registerCount == 0) continue;
      // A length may be split across fields (C_CAN's BRP and BRPE, the GD32E508's BS1_3_0
      // and BS1_6_4): each piece holds other bits of it, and one piece its lowest.
      int count[9] = {};
      uint32_t shifts[9] = {};
      for (int32_t i = 0; i < limits->registerCount; ++i)
        for (int f = 0; f < limits->registers[i]->fieldCount; ++f) {
          const RegisterField& field = limits->registers[i]->fields[f];
          const int role = static_cast<int>(field.role);
          if (field.role == FieldRole::kFlag || field.role == FieldRole::kFixed) continue;
          EXPECT_EQ(shifts[role] & (1u << field.valueShift), 0u) << entry.name << " " << field.name;
          shifts[role] |= 1u << field.valueShift;
          if (field.valueShift == 0) ++count[role];
        }
      const bool split = limits->prop.first <= limits->prop.last;
      EXPECT_GE(count[static_cast<int>(FieldRole::kPrescaler)], 1) << entry.name;
      EXPECT_EQ(count[static_cast<int>(FieldRole::kSeg1)], split ? 0 : 1) << entry.name;
      EXPECT_EQ(count[static_cast<int>(FieldRole::kProp)], split ? 1 : 0) << entry.name;
      EXPECT_EQ(count[static_cast<int>(FieldRole::kPhase1)], split ? 1 : 0) << entry.name;
      EXPECT_EQ(count[static_cast<int>(FieldRole::kSeg2)], 1) << entry.name;
      EXPECT_EQ(count[static_cast<int>(FieldRole::kSjw)], 1) << entry.name;
    }
  }
}

// The ends of every phase's limits come back from the register values the product
// writes for them: no limit exceeds what its fields can hold.
TEST(RegisterTable, EveryPhasesLimitsFitItsFields) {
  for (int32_t k = 0; k < ControllerCount(); ++k) {
    const ControllerEntry& entry = ControllerAt(k);
    for (const PhaseLimits* limits : {&entry.nominal, &entry.data}) {
      if (limits->registerCount == 0) continue;
      const bool split = limits->prop.first <= limits->prop.last;
      for (const bool last : {false, true}) {
        const auto end = [last](FieldRange range) { return last ? range.last : range.first; };
        BitTimingLengths lengths{end(limits->prescaler), end(limits->seg1), end(limits->seg2), end(limits->sjw)};
        if (split) {
          lengths.prop = end(limits->prop);
          lengths.phase1 = end(limits->phase1);
          lengths.seg1 = lengths.prop + lengths.phase1;
        }
        uint32_t values[kMaxPhaseRegisters] = {};
        EncodePhaseRegisters(*limits, lengths, values);
        const BitTimingLengths back = DecodeRegisterSet(values, limits->registers, limits->registerCount);
        const std::string what = std::string(entry.name) + (limits == &entry.data ? " data" : " nominal") +
                                 (last ? " last" : " first");
        EXPECT_EQ(back.prescaler, lengths.prescaler) << what;
        EXPECT_EQ(back.seg1, lengths.seg1) << what;
        EXPECT_EQ(back.seg2, lengths.seg2) << what;
        EXPECT_EQ(back.sjw, lengths.sjw) << what;
        EXPECT_EQ(back.prop, lengths.prop) << what;
        EXPECT_EQ(back.phase1, lengths.phase1) << what;
      }
    }
  }
}

// TDCR as the fdcan code forms write it: the offset in bits 14:8, the filter window 0,
// and an offset beyond TDCO's 7 bits cut to them.
TEST(RegisterTable, TdcOffsetsGoIntoTheirField) {
  const struct {
    const Register& reg;
    int32_t offset;
    uint32_t value;
  } cases[] = {
      {kTdcr, 0, 0x0000u},         {kTdcr, 1, 0x0100u},        {kTdcr, 14, 0x0E00u},
      {kTdcr, 127, 0x7F00u},       {kTdcr, 128, 0x0000u},      {kMcan30Fbtp, 31, 0x1F000000u},
      {kXcanfdFbrpr, 63, 0x3F00u}, {kCanBtr, 5, 0x00000000u},  // no offset field
      {kFlexcanCbt, 3, 0x80000000u},                          // the fixed BTF bit only
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeTdcOffset(c.offset, c.reg), c.value) << c.reg.name << " " << c.offset;
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
      {"docs/quillmere-cli.1", R"(reserved bit set \(([0-9, to]+)\))", ReservedBits(kCanBtr)},
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
  EXPECT_NE(help.find("bxCAN " + RangeText(kBxCanRanges.sjw) + ", FDCAN's nominal phase " +
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
    // One section per vendor: the heading the entry stands under names its vendor.
    const std::size_t vendorHeading = guide.rfind("\n## ", start);
    ASSERT_NE(vendorHeading, std::string::npos) << name;
    const std::string heading = guide.substr(vendorHeading + 1, guide.find('\n', vendorHeading + 1) - vendorHeading - 1);
    EXPECT_NE(heading.find(entry.vendor), std::string::npos) << name << " (" << entry.vendor << ") stands under " << heading;
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
  // And no section outlives its entry: every "### `name`" heading but an option's.
  const std::regex heading("\n### `([^`-][^`]*)`\n");
  for (auto it = std::sregex_iterator(guide.begin(), guide.end(), heading); it != std::sregex_iterator(); ++it)
    EXPECT_NE(FindController((*it)[1].str().c_str()), nullptr) << "docs/controllers.md: no entry " << (*it)[1];
}

}  // namespace

namespace {

// "29:26, 23, 15:10": the bits a list of places names.
uint32_t BitsOfPlaces(const std::string& list) {
  uint32_t bits = 0;
  const std::regex place(R"((\d+)(?::(\d+))?)");
  for (std::sregex_iterator it(list.begin(), list.end(), place), end; it != end; ++it) {
    const int high = std::stoi((*it)[1]);
    const int low = (*it)[2].matched ? std::stoi((*it)[2]) : high;
    for (int bit = low; bit <= high; ++bit) bits |= 1u << bit;
  }
  return bits;
}

// One field as a register line of docs/controllers.md writes it ("TS1 19:16 = seg1 -
// 1"), read back into the table's terms; false for a text the legend does not give.
bool ReadDocField(const std::string& text, RegisterField& field, std::string& name) {
  std::smatch m;
  if (!std::regex_match(text, m, std::regex(R"((\S+) (\d+)(?::(\d+))? = (.+))"))) return false;
  name = m[1];
  const int high = std::stoi(m[2]);
  const int low = m[3].matched ? std::stoi(m[3]) : high;
  field = RegisterField{nullptr, low, high - low + 1, FieldRole::kFlag, Stored::kValue};
  const std::string holds = m[4];
  std::smatch v;
  if (holds == "flag") return true;
  if (holds == "TDC offset") return field.role = FieldRole::kTdcOffset, true;
  if (std::regex_match(holds, v, std::regex(R"(always (\d+))"))) {
    field.role = FieldRole::kFixed;
    field.fixedValue = static_cast<uint32_t>(std::stoul(v[1]));
    return true;
  }
  if (!std::regex_match(holds, v, std::regex(R"(\(?(prescaler|seg1|seg2|SJW|prop|phase1)( / 2)?( - 1)?\)?(?: >> (\d+))?)")))
    return false;
  const std::string length = v[1];
  field.role = length == "prescaler" ? FieldRole::kPrescaler
               : length == "seg1"    ? FieldRole::kSeg1
               : length == "seg2"    ? FieldRole::kSeg2
               : length == "SJW"     ? FieldRole::kSjw
               : length == "prop"    ? FieldRole::kProp
                                     : FieldRole::kPhase1;
  field.stored = v[2].matched ? Stored::kHalfLessOne : v[3].matched ? Stored::kLessOne : Stored::kValue;
  if (v[2].matched && !v[3].matched) return false;  // "/ 2" without "- 1" is no way a field stores
  field.valueShift = v[4].matched ? std::stoi(v[4]) : 0;
  return true;
}

// The register lines under a phase of a controller's section ("  - `CAN_BTR` (32
// bits): SILM 31 = flag, ..., BRP 9:0 = prescaler - 1; reserved 29:26, 23, 15:10") say
// what the phase's rows hold: the same registers in order, each field with its place,
// what it holds and how, from the highest bit down, and the reserved bits.
void ExpectDocRegisters(const std::string& what, const std::vector<std::string>& lines, const PhaseLimits& limits) {
  ASSERT_EQ(static_cast<int32_t>(lines.size()), limits.registerCount) << what;
  const std::regex shape(R"(  - `([^`]+)` \((\d+) bits\): (.*); (?:reserved (.*)|no reserved bits))");
  for (int32_t i = 0; i < limits.registerCount; ++i) {
    const Register& reg = *limits.registers[i];
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[i], m, shape)) << what << ": " << lines[i];
    EXPECT_EQ(m[1].str(), reg.name) << what;
    EXPECT_EQ(std::stoi(m[2]), reg.bits) << what << " " << reg.name;
    EXPECT_EQ(m[4].matched ? BitsOfPlaces(m[4]) : 0u, ReservedBits(reg)) << what << " " << reg.name << " reserved";
    const std::string list = m[3];
    int count = 0;
    int below = reg.bits;
    for (std::size_t at = 0; at <= list.size(); ++count) {
      const std::size_t comma = std::min(list.find(", ", at), list.size());
      RegisterField doc{};
      std::string name;
      ASSERT_TRUE(ReadDocField(list.substr(at, comma - at), doc, name)) << what << " " << reg.name << ": " << list;
      at = comma + 2;
      EXPECT_LT(doc.firstBit, below) << what << " " << reg.name << " " << name << ": not from the highest bit down";
      below = doc.firstBit;
      const RegisterField* field = nullptr;
      for (int f = 0; f < reg.fieldCount; ++f)
        if (name == reg.fields[f].name) field = &reg.fields[f];
      ASSERT_NE(field, nullptr) << what << " " << reg.name << " has no field " << name;
      EXPECT_EQ(doc.firstBit, field->firstBit) << what << " " << reg.name << " " << name;
      EXPECT_EQ(doc.width, field->width) << what << " " << reg.name << " " << name;
      EXPECT_EQ(doc.role, field->role) << what << " " << reg.name << " " << name;
      EXPECT_EQ(doc.stored, field->stored) << what << " " << reg.name << " " << name;
      EXPECT_EQ(doc.valueShift, field->valueShift) << what << " " << reg.name << " " << name;
      EXPECT_EQ(doc.fixedValue, field->fixedValue) << what << " " << reg.name << " " << name;
    }
    EXPECT_EQ(count, reg.fieldCount) << what << " " << reg.name;
  }
}

TEST(ControllerDocs, RegisterLinesAreTheTables) {
  const std::string guide = ReadFile(std::string(QUILLMERE_SOURCE_DIR) + "/docs/controllers.md");
  for (int32_t k = 0; k < ControllerCount(); ++k) {
    const ControllerEntry& entry = ControllerAt(k);
    const std::size_t start = guide.find("### `" + std::string(entry.name) + "`\n");
    ASSERT_NE(start, std::string::npos) << entry.name;
    std::istringstream section(guide.substr(start, guide.find("\n#", start + 1) - start));
    std::vector<std::string> lines[2];
    int phase = -1;
    for (std::string line; std::getline(section, line);) {
      if (line.rfind("- Nominal: ", 0) == 0) phase = 0;
      if (line.rfind("- Data: ", 0) == 0) phase = 1;
      if (line.rfind("  - `", 0) == 0) {
        ASSERT_GE(phase, 0) << entry.name << ": a register line before the phases: " << line;
        lines[phase].push_back(line);
      }
    }
    ExpectDocRegisters(std::string(entry.name) + " nominal", lines[0], entry.nominal);
    ExpectDocRegisters(std::string(entry.name) + " data", lines[1], entry.data);
  }
}

// The reading itself: a line that says another layout is caught.
TEST(ControllerDocs, ADocFieldReadsAsTheTableWritesIt) {
  RegisterField field{};
  std::string name;
  ASSERT_TRUE(ReadDocField("BRPE 3:0 = (prescaler - 1) >> 6", field, name));
  EXPECT_EQ(name, "BRPE");
  EXPECT_EQ(field.firstBit, 0);
  EXPECT_EQ(field.width, 4);
  EXPECT_EQ(field.role, FieldRole::kPrescaler);
  EXPECT_EQ(field.stored, Stored::kLessOne);
  EXPECT_EQ(field.valueShift, 6);
  ASSERT_TRUE(ReadDocField("BRP 5:0 = prescaler / 2 - 1", field, name));
  EXPECT_EQ(field.stored, Stored::kHalfLessOne);
  ASSERT_TRUE(ReadDocField("FPROPSEG 14:10 = prop", field, name));
  EXPECT_EQ(field.role, FieldRole::kProp);
  EXPECT_EQ(field.stored, Stored::kValue);
  ASSERT_TRUE(ReadDocField("BTF 31 = always 1", field, name));
  EXPECT_EQ(field.role, FieldRole::kFixed);
  EXPECT_EQ(field.fixedValue, 1u);
  EXPECT_EQ(field.width, 1);
  ASSERT_TRUE(ReadDocField("TDCO 28:24 = TDC offset", field, name));
  EXPECT_EQ(field.role, FieldRole::kTdcOffset);
  EXPECT_FALSE(ReadDocField("BRP 5:0 = prescaler / 2", field, name));
  EXPECT_FALSE(ReadDocField("BRP 5:0 = divider - 1", field, name));
  EXPECT_FALSE(ReadDocField("BRP = prescaler - 1", field, name));
  EXPECT_EQ(BitsOfPlaces("29:26, 23, 15:10"), 0x3C80FC00u);
}

}  // namespace
