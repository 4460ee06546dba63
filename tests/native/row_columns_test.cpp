// The column table (answers/columns/row_columns.h) as the window and the page read it: the
// window's six columns with its titles, and the page's columns with their keys, both
// languages' titles and alignment.
#include "answers/columns/row_columns.h"
#include "answers/text/gbk_to_utf8.h"
#include "calc/controllers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>


namespace {

TEST(RowColumns, TheWindowsSixInItsOrder) {
  const struct {
    const char* key;
    const char* title;  // UTF-8
    bool number;        // handed to the table as a number, not a text
  } expected[kResultColumnCount] = {
      {"seg1", "BS1", false},           {"seg2", "BS2", false},
      {"prescaler", u8"分频系数", false}, {"samplePoint", u8"采集点", false},
      {"actualRate", u8"实际波特率", true}, {"errorPercent", u8"误差", false},
  };
  for (int32_t k = 0; k < kResultColumnCount; ++k) {
    EXPECT_STREQ(WindowColumn(k).key, expected[k].key) << k;
    EXPECT_EQ(GbkToUtf8(WindowColumnTitle(k)), expected[k].title) << k;
    EXPECT_EQ(WindowColumn(k).number != nullptr, expected[k].number) << k;
  }
}

// The keys of a JSON array of page columns, in order.
std::vector<std::string> KeysOf(const std::string& json) {
  std::vector<std::string> keys;
  const std::string mark = "{\"key\": \"";
  for (std::size_t at = json.find(mark); at != std::string::npos; at = json.find(mark, at + 1)) {
    const std::size_t start = at + mark.size();
    keys.push_back(json.substr(start, json.find('"', start) - start));
  }
  return keys;
}

// The page's grid has the companion's --wide tsv columns of each controller: bxCAN's
// window six first, then CAN_BTR, tolerance and bus; FDCAN's phase, NBTP/DBTP and the
// TDC offset; a table controller's SJW, tq and registers; every controller's tq (the
// page's own for bxCAN and FDCAN); each with both titles and what it holds.
TEST(RowColumns, ThePagesColumnsAreEachControllersWideTsvColumns) {
  const struct {
    const char* controller;
    bool dataPhase;
    std::vector<std::string> keys;
  } cases[] = {
      {"bxcan", false,
       {"seg1", "seg2", "prescaler", "tqNs", "samplePoint", "actualRate", "errorPercent", "register", "oscillatorTolerance",
        "maxBusLength"}},
      {"fdcan", false,
       {"phase", "seg1", "seg2", "prescaler", "tqNs", "samplePoint", "actualRate", "errorPercent", "register",
        "oscillatorTolerance", "maxBusLength"}},
      {"fdcan", true,
       {"phase", "seg1", "seg2", "prescaler", "tqNs", "samplePoint", "actualRate", "errorPercent", "register",
        "oscillatorTolerance", "maxBusLength", "tdcOffset"}},
      {"mcp2515", false,
       {"seg1", "seg2", "prop", "phase1", "prescaler", "sjw", "tqNs", "samplePoint", "actualRate", "errorPercent",
        "registers", "oscillatorTolerance", "maxBusLength"}},
      {"gs-usb", false,
       {"seg1", "seg2", "prescaler", "sjw", "tqNs", "samplePoint", "actualRate", "errorPercent", "oscillatorTolerance",
        "maxBusLength"}},
  };
  for (const auto& c : cases) {
    OutputOptions phases[2];
    const int count = ListingOptions(*FindController(c.controller), c.dataPhase, phases);
    EXPECT_EQ(count, c.dataPhase ? 2 : 1) << c.controller;
    const std::string json = PageColumnsJson(phases, count);
    EXPECT_EQ(KeysOf(json), c.keys) << c.controller;
    std::size_t helps = 0;
    for (std::size_t at = json.find("\"enHelp\": \""); at != std::string::npos; at = json.find("\"enHelp\": \"", at + 1))
      ++helps;
    EXPECT_EQ(helps, c.keys.size()) << c.controller;
  }
  OutputOptions bxcan[2];
  const std::string first = PageColumnsJson(bxcan, ListingOptions(*FindController("bxcan"), false, bxcan));
  EXPECT_EQ(first.substr(0, first.find("},") + 1),
            "[\n    {\"key\": \"seg1\", \"zh\": \"BS1\", \"en\": \"BS1\", \"align\": \"left\", \"zhHelp\": \""
            u8"时间段 1（传播段 + 相位段 1），单位 tq；bxCAN 为库常量名"
            "\", \"enHelp\": \"Time segment 1 (propagation + phase 1), in time quanta (tq); bxCAN: the library "
            "constant\"}");
  // The columns the window lacks have a Chinese title on the page only: the
  // companion's table keeps its English one.
  OutputOptions mcp[2];
  const std::string table = PageColumnsJson(mcp, ListingOptions(*FindController("mcp2515"), false, mcp));
  for (const char* pair : {"\"key\": \"registers\", \"zh\": \"" u8"寄存器" "\", \"en\": \"Registers\"",
                           "\"key\": \"oscillatorTolerance\", \"zh\": \"" u8"振荡器容差" "\", \"en\": \"Tolerance\"",
                           "\"key\": \"maxBusLength\", \"zh\": \"" u8"最长总线" "\", \"en\": \"Max bus\"",
                           "\"key\": \"prop\", \"zh\": \"Prop\", \"en\": \"Prop\""})
    EXPECT_NE(table.find(pair), std::string::npos) << pair;
  // The object of every controller names each by its --controller name.
  const std::string all = PageColumnsJson();
  for (int32_t i = 0; i < ControllerCount(); ++i)
    EXPECT_NE(all.find("\"" + std::string(ControllerAt(i).name) + "\": ["), std::string::npos) << ControllerAt(i).name;
}

// bxCAN's and FDCAN's Tq (ns) stands in the page's rows only: none of the companion's
// forms (tsv, csv, table, json, with --wide or not) nor the window's table has it.
TEST(RowColumns, BxCanAndFdcanTqIsThePagesOnly) {
  const Column* tq = nullptr;
  for (int c = 0; c < kColumnCount; ++c)
    if (std::string(kColumns[c].key) == "tqNs") tq = &kColumns[c];
  ASSERT_NE(tq, nullptr);
  const struct {
    const char* controller;
    Phase phase;
  } phases[] = {{"bxcan", Phase::kNominal}, {"fdcan", Phase::kNominal}, {"fdcan", Phase::kData}};
  for (const auto& [controller, phase] : phases) {
    for (const bool page : {false, true}) {
      for (const bool wide : {false, true}) {
        OutputOptions options;
        options.controller = FindController(controller);
        options.phase = phase;
        options.page = page;
        options.wide = wide;
        const std::string where = controller + std::to_string(static_cast<int>(phase)) + (page ? " page" : "") + (wide ? " wide" : "");
        EXPECT_EQ(InTextForm(*tq, options, kInTsv), page) << where;
        EXPECT_EQ(InTextForm(*tq, options, kInCsv), page) << where;
        EXPECT_EQ(InTextForm(*tq, options, kInTable), page) << where;
        EXPECT_EQ(InJson(*tq, options), page) << where;
      }
    }
  }
  EXPECT_EQ(tq->forms & kInWindow, 0u);
  for (int32_t k = 0; k < kResultColumnCount; ++k) EXPECT_STRNE(WindowColumn(k).key, "tqNs") << k;
  // The quantum's text: 42 MHz and prescaler 7 give 166.667 ns, 80 MHz and 509 6362.5.
  const struct {
    int32_t clockKHz;
    int32_t prescaler;
    const char* text;
  } rows[] = {{42000, 7, "166.667"}, {42000, 1, "23.81"}, {80000, 509, "6362.5"}, {36000, 9, "250"}};
  for (const auto& r : rows) {
    OutputOptions options;
    options.page = true;
    options.clockKHz = r.clockKHz;
    TimingCandidate record{};
    record.prescaler = r.prescaler;
    RowCells run;
    const RowContext row{record, CellsOf(run, record, options), options};
    CandidateText scratch;
    const CandidateText& text = tq->text(row, scratch);
    EXPECT_EQ(std::string(text.bytes, static_cast<std::size_t>(text.length)), r.text) << r.prescaler;
  }
}

}  // namespace
