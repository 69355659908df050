// The compiled files of the shipped scenario, read back byte by byte with a
// decoder of their own, against the rows of the two description texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include "driver/run_installer.h"
#include "scenari/scenario_texts.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

// Little-endian reads at a byte offset.
struct bytes_at {
  const std::string& data;
  std::uint8_t u8(std::size_t at) const { return static_cast<std::uint8_t>(data.at(at)); }
  std::uint16_t u16(std::size_t at) const {
    return static_cast<std::uint16_t>(u8(at) | u8(at + 1) << 8);
  }
  std::int16_t i16(std::size_t at) const { return static_cast<std::int16_t>(u16(at)); }
  std::int32_t i32(std::size_t at) const {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(u16(at)) |
                                     static_cast<std::uint32_t>(u16(at + 2)) << 16);
  }
  double f64(std::size_t at) const {
    std::uint64_t bits = 0;
    for (int b = 7; b >= 0; --b) bits = bits << 8 | u8(at + b);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
};

struct station_record {
  std::uint8_t kind;
  std::int32_t start, end, position;
  std::uint8_t flag_a;
  std::string name;
  std::int16_t group1_a, group1_b, group2_a, group2_b, group2_c;
  std::uint8_t group1_c, stop, end_shift, flag_b;
  std::int32_t time;
};

// Decodes the records of the station file, in order.
std::vector<station_record> decode_stations(const std::string& data) {
  const bytes_at b{data};
  std::vector<station_record> records;
  std::size_t at = 0;
  while (at < data.size()) {
    station_record r{};
    r.kind = b.u8(at);
    r.start = b.i32(at + 1);
    r.end = b.i32(at + 5);
    r.position = b.i32(at + 9);
    r.flag_a = b.u8(at + 13);
    const std::size_t n = b.u16(at + 14);
    r.name = data.substr(at + 16, n);
    at += 16 + n;
    r.group1_a = b.i16(at);
    r.group1_b = b.i16(at + 2);
    r.group2_a = b.i16(at + 4);
    r.group2_b = b.i16(at + 6);
    r.group2_c = b.i16(at + 8);
    r.group1_c = b.u8(at + 10);
    r.stop = b.u8(at + 11);
    r.end_shift = b.u8(at + 12);
    r.flag_b = b.u8(at + 13);
    r.time = b.i32(at + 14);
    at += 18;
    records.push_back(r);
  }
  return records;
}

class ShippedScenario : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new testing_support::temp_folder;
    testing_support::fake_platform platform(folder_->path().string());
    status_ = driver::run_installer(platform);
    failures_ = platform.failures;
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  static std::string read(const std::string& name) { return folder_->read(name); }

  static testing_support::temp_folder* folder_;
  static int status_;
  static std::vector<std::string> failures_;
};

testing_support::temp_folder* ShippedScenario::folder_ = nullptr;
int ShippedScenario::status_ = -1;
std::vector<std::string> ShippedScenario::failures_;

TEST_F(ShippedScenario, RunsCleanlyAndWritesFilesOfTheExpectedSizes) {
  ASSERT_EQ(status_, 0) << (failures_.empty() ? "" : failures_[0]);
  // L = 91000: plan 20 L + 139964 bytes; 1961 cells of 15 bytes.
  EXPECT_EQ(read("Brisena_Tarvo_linea.dat").size(), 20u * 91000u + 139964u);
  EXPECT_EQ(read("Brisena_Tarvo_47306.dat").size(), 1961u * 15u);
}

TEST_F(ShippedScenario, HeaderCellHoldsTheFormatTagAndThePlainCheckCode) {
  const std::string cells = read("Brisena_Tarvo_47306.dat");
  const bytes_at b{cells};
  EXPECT_EQ(b.i16(15 + 1), 5121);
  // "47306brisena_tarvoaabbccd": the sum of its 25 codes.
  EXPECT_EQ(b.i16(15 + 3), 2339);
}

TEST_F(ShippedScenario, SignalCellOfTheFirstSignal) {
  // "segnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, 205" lies in cell 33.
  const std::string cells = read("Brisena_Tarvo_47306.dat");
  const bytes_at b{cells};
  const std::size_t at = 33 * 15;
  EXPECT_EQ(b.u8(at), 1);
  EXPECT_EQ(b.i16(at + 1), 43);
  EXPECT_EQ(b.i16(at + 3), 11);
  EXPECT_EQ(b.i16(at + 5), 0);
  EXPECT_EQ(b.i16(at + 7), 7);
  EXPECT_EQ(b.u8(at + 9), 205);
  EXPECT_EQ(b.u8(at + 12), 24);   // 120 km/h from 1100 m
  EXPECT_EQ(b.u8(at + 14), 100);  // adhesion
  // Its approach codes, 100 to 400 m before it.
  EXPECT_EQ(b.u8(31 * 15 + 10), 71);
  EXPECT_EQ(b.u8(25 * 15 + 10), 74);
}

TEST_F(ShippedScenario, SlowdownCellsOfTheFirstSlowdown) {
  // "rallentamento,   16850,   115,  600, 0,  1,  0": W 314, S 338, E 350.
  const std::string cells = read("Brisena_Tarvo_47306.dat");
  const bytes_at b{cells};
  EXPECT_EQ(b.u8(314 * 15), 4);
  EXPECT_EQ(b.u8(338 * 15), 3);
  EXPECT_EQ(b.i16(338 * 15 + 1), 115);
  EXPECT_EQ(b.u8(350 * 15), 2);
  for (int r = 0; r < 4; ++r) EXPECT_EQ(b.u8((313 - r) * 15), 5) << r;
}

// The walk's speed points, derived by hand from the rows of the two texts:
// - the slowdown at 16850 m (speed 115) has its warning point in cell 314 and
//   its start in cell 338; the signal at 14750 m, cell 296, lies 18 cells
//   before the warning point, so cell 295 (rule A); the start's windows give
//   333, 327 and 320 (rule B); at 115 km/h there is no cadence (rule C);
// - the slowdown at 34600 m (speed 105, 200 m) has its warning point in cell
//   669, with no signal in the 20 cells before it, its start in cell 693 and
//   its end in 697; windows 688, 682 and 675 (rule B); its end comes 4 cells
//   after the start, before any cadence point is due (rule C); the first
//   signal after the end, at 35050 m, is in cell 702, so cell 701 (rule D).
// Every point holds 180 km/h, and the train text has no speed-point rows.
TEST_F(ShippedScenario, TheWalkPlacesItsEightSpeedPoints) {
  const std::string cells = read("Brisena_Tarvo_47306.dat");
  const bytes_at b{cells};
  std::map<int, std::int16_t> points;
  for (std::size_t c = 0; c * 15 < cells.size(); ++c) {
    const std::uint8_t kind = b.u8(c * 15);
    if (kind == 12 || kind == 13) points[static_cast<int>(c)] = b.i16(c * 15 + 1);
  }
  const std::map<int, std::int16_t> expected = {{295, 180}, {320, 180}, {327, 180}, {333, 180},
                                                {675, 180}, {682, 180}, {688, 180}, {701, 180}};
  EXPECT_EQ(points, expected);
}

// A point of the plan far past the last curve, computed here from the curve
// rows of the line text with the step of the plan: each metre repeats the
// last displacement, turned by the curve's k.
TEST_F(ShippedScenario, PlanPointPastTheCurvesFollowsFromTheCurveRows) {
  const double k_of_digit[] = {0.0, 0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
  double x2 = 0.0, y2 = 0.0, x1 = 0.0, y1 = 1.0;
  int c = 2;
  const auto step = [&](double k) {
    const double dx = x1 - x2, dy = y1 - y2;
    const double x = (dy * k + dx) + x1;
    const double y = (dy - dx * k) + y1;
    x2 = x1;
    y2 = y1;
    x1 = x;
    y1 = y;
    ++c;
  };
  int curves = 0;
  for (const std::string_view row : scenari::linea_lines()) {
    if (row == scenari::end_marker) break;
    if (row.rfind("curva", 0) != 0) continue;
    const int digit = row[6] - '0';
    ASSERT_TRUE(digit >= 1 && digit <= 6) << row;
    const double k = row[5] == 's' ? -k_of_digit[digit] : k_of_digit[digit];
    const std::size_t first = row.find(',');
    const std::size_t second = row.find(',', first + 1);
    const int s = std::stoi(std::string(row.substr(first + 1, second - first - 1)));
    const int n = std::stoi(std::string(row.substr(second + 1)));
    while (c <= s) step(0.0);
    while (c <= s + n) step(k);
    ++curves;
  }
  ASSERT_GT(curves, 100);
  ASSERT_LT(c, 95000);
  while (c <= 95000) step(0.0);

  const std::string plan = read("Brisena_Tarvo_linea.dat");
  const bytes_at b{plan};
  const std::size_t half = 10u * 91000u + 69982u;  // the x values, then the y values
  const std::size_t m95000 = 8 + (95000 - 2) * 10;
  ASSERT_EQ(b.u16(m95000), 5);
  EXPECT_DOUBLE_EQ(b.f64(m95000 + 2), x1);
  EXPECT_DOUBLE_EQ(b.f64(half + m95000 + 2), y1);
}

TEST_F(ShippedScenario, StationFileHoldsStationsSignsReferencesAndHeaders) {
  const auto records = decode_stations(read("Brisena_Tarvo_47306.sim"));
  ASSERT_EQ(records.size(), 87u);
  EXPECT_EQ(records[0].name, "");
  EXPECT_EQ(records[0].time, 0);

  const auto& origin = records[1];
  EXPECT_EQ(origin.kind, 7);
  EXPECT_EQ(origin.start, -700);
  EXPECT_EQ(origin.end, 700);
  EXPECT_EQ(origin.name, "BRISENA");
  EXPECT_EQ(origin.time, 41400);
  EXPECT_EQ(origin.stop, 1);
  EXPECT_EQ(records[18].name, "TARVO");
  EXPECT_EQ(records[18].position, 88400);
  EXPECT_EQ(records[19].name, "");

  // 57 sign texts from entry 80 down to 24; the first is the board at 900 m.
  EXPECT_EQ(records[80].name.front(), '(');
  EXPECT_EQ(records[24].name.front(), '(');
  EXPECT_EQ(records[23].name, "");

  EXPECT_EQ(records[81].start, 12800);
  EXPECT_EQ(records[81].end, -12800);
  EXPECT_EQ(records[82].start, 0);

  EXPECT_EQ(records[84].start, 115);
  EXPECT_EQ(records[84].end, 91000);
  EXPECT_EQ(records[84].position, 5);

  const auto& route = records[85];
  EXPECT_EQ(route.name, "Brisena_Tarvo");
  EXPECT_EQ((std::array{route.start, route.position, route.end}), (std::array{0, 1, 60000}));
  EXPECT_EQ(route.group1_a, 610);
  EXPECT_EQ(route.time, 32714);  // the weighted sum of "47306brisena_tarvoaabbccd"

  const auto& train = records[86];
  EXPECT_EQ(train.name, "47306");
  EXPECT_EQ((std::array{train.start, train.end, train.position}), (std::array{1250, 12150, 4}));
  EXPECT_EQ(train.group1_a, 300);
  EXPECT_EQ((std::array{train.group2_a, train.group2_b, train.group2_c}),
            (std::array<std::int16_t, 3>{11, 29, 30}));
}

TEST_F(ShippedScenario, PlanFileStartsStraightAndTurnsAtTheFirstCurve) {
  const std::string plan = read("Brisena_Tarvo_linea.dat");
  const bytes_at b{plan};
  const std::size_t half = 10u * 91000u + 69982u;  // the x values, then the y values
  // Metres 0 and 1: 16-bit integers (tag 2); metre 2 on: doubles (tag 5).
  EXPECT_EQ(b.u16(0), 2);
  EXPECT_EQ(b.i16(2), 0);
  EXPECT_EQ(b.u16(4), 2);
  EXPECT_EQ(b.i16(6), 0);
  EXPECT_EQ(b.u16(8), 5);
  EXPECT_EQ(b.f64(10), 0.0);
  EXPECT_EQ(b.u16(half), 2);
  EXPECT_EQ(b.i16(half + 2), 0);
  EXPECT_EQ(b.i16(half + 6), 1);
  EXPECT_EQ(b.f64(half + 10), 2.0);
  // Metre 1151, the first metre of "curvad2,  1150,  250".
  const std::size_t m1151 = 8 + (1151 - 2) * 10;
  EXPECT_EQ(b.u16(m1151), 5);
  EXPECT_EQ(b.f64(m1151 + 2), 0.0002);
  EXPECT_EQ(b.f64(half + m1151 + 2), 1151.0);
  // The last two metres of each half are empty (tag 0 alone).
  EXPECT_EQ(b.u16(half - 4), 0);
  EXPECT_EQ(b.u16(half - 2), 0);
  EXPECT_EQ(b.u16(plan.size() - 2), 0);
}

TEST_F(ShippedScenario, PlanFileDecodesWholeAsTaggedElements) {
  const std::string plan = read("Brisena_Tarvo_linea.dat");
  const bytes_at b{plan};
  std::size_t at = 0;
  std::size_t elements = 0;
  std::size_t empty = 0;
  while (at + 2 <= plan.size()) {
    const std::uint16_t tag = b.u16(at);
    ASSERT_TRUE(tag == 0 || tag == 2 || tag == 5) << "tag " << tag << " at byte " << at;
    at += 2 + (tag == 2 ? 2 : tag == 5 ? 8 : 0);
    empty += tag == 0 ? 1 : 0;
    ++elements;
  }
  EXPECT_EQ(at, plan.size());
  EXPECT_EQ(elements, 2u * 98001u);
  EXPECT_EQ(empty, 4u);
}

}  // namespace
