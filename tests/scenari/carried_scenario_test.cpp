#include "scenari/carried_scenario.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/replace_file.h"
#include "scenari/sha256.h"
#include "support/temp_folder.h"

namespace {

// A small scenario, so that every byte of it can be damaged in turn.
scenari::carried_scenario small_scenario() {
  scenari::carried_scenario scenario;
  scenario.identity = {"Val_Sesia", "2\xE8"};
  scenario.plan = false;
  scenario.line_text = "[generale]\r\nlunghezza percorso,    1000\r\n[fine]\r\n";
  scenario.train_text = "[generale]\r\n[fine]\r\n";
  scenario.slowdown_order = "nessun rallentamento\r\n";
  return scenario;
}

// Bytes that stand for the generic installer program in front of the scenario.
const std::string program(3000, '\x90');

void expect_equal(const scenari::carried_scenario& a, const scenari::carried_scenario& b) {
  EXPECT_EQ(a.identity.route_id, b.identity.route_id);
  EXPECT_EQ(a.identity.train_number, b.identity.train_number);
  EXPECT_EQ(a.plan, b.plan);
  EXPECT_EQ(a.line_text, b.line_text);
  EXPECT_EQ(a.train_text, b.train_text);
  EXPECT_EQ(a.notes, b.notes);
  EXPECT_EQ(a.slowdown_order, b.slowdown_order);
  EXPECT_EQ(a.train_card, b.train_card);
}

TEST(CarriedScenario, ComesBackAsItWasSealedFromTheFileOrItsBytes) {
  for (const scenari::carried_scenario& scenario :
       {small_scenario(), scenari::shipped_scenario()}) {
    const std::string installer = program + scenari::seal_scenario(scenario);
    expect_equal(scenari::unseal_scenario(installer), scenario);

    testing_support::temp_folder folder;
    platform::replace_file(folder / "installer", installer);
    expect_equal(scenari::read_carried_scenario(folder / "installer"), scenario);
  }
}

// The message of the damage found in `installer`, read as a file; empty when
// none was found.
std::string damage(const testing_support::temp_folder& folder, const std::string& installer) {
  std::ofstream(folder / "installer", std::ios::binary | std::ios::trunc) << installer;
  try {
    scenari::read_carried_scenario(folder / "installer");
  } catch (const scenari::damaged_installer& d) {
    return d.what();
  }
  return {};
}

TEST(CarriedScenario, CutAtAnyPointIsDamaged) {
  testing_support::temp_folder folder;
  const std::string installer = program + scenari::seal_scenario(small_scenario());
  // Every point inside the scenario and its trailer, and some inside the program.
  for (std::size_t size = 0; size < installer.size(); size += size < program.size() ? 250 : 1) {
    EXPECT_NE(damage(folder, installer.substr(0, size)), "") << "cut to " << size << " bytes";
  }
}

TEST(CarriedScenario, OneByteChangedAnywhereInTheScenarioIsDamaged) {
  testing_support::temp_folder folder;
  const std::string installer = program + scenari::seal_scenario(small_scenario());
  for (std::size_t at = program.size(); at < installer.size(); ++at) {
    for (const unsigned char change : {0x01, 0x80, 0xFF}) {
      std::string changed = installer;
      changed[at] = static_cast<char>(changed[at] ^ change);
      EXPECT_NE(damage(folder, changed), "") << "byte " << at << " changed by " << int{change};
    }
  }
}

TEST(CarriedScenario, TheShippedScenarioChangedAtSpreadPointsIsDamaged) {
  const std::string sealed = scenari::seal_scenario(scenari::shipped_scenario());
  for (std::size_t at = 0; at < sealed.size(); at += 331) {
    std::string changed = sealed;
    changed[at] = static_cast<char>(changed[at] ^ 0x20);
    EXPECT_THROW(scenari::unseal_scenario(changed), scenari::damaged_installer) << "byte " << at;
  }
}

TEST(CarriedScenario, JoinedToMoreBytesIsDamaged) {
  const std::string installer = program + scenari::seal_scenario(small_scenario());
  for (const std::string& more :
       {std::string(1, '\0'), std::string("garbage"), std::string(5000, 'x')}) {
    EXPECT_THROW(scenari::unseal_scenario(installer + more), scenari::damaged_installer);
  }
  // The generic installer alone carries nothing.
  try {
    scenari::unseal_scenario(program);
    FAIL() << "the bare program was taken for a packaged one";
  } catch (const scenari::damaged_installer& d) {
    EXPECT_NE(std::string(d.what()).find("no scenario is sealed at its end"), std::string::npos);
  }
}

// A scenario sealed with a right digest but fields no packager writes: each
// field is still checked against its bounds.
std::string sealed_raw(const std::string& scenario) {
  std::string size;
  for (int i = 0; i < 8; ++i)
    size.push_back(static_cast<char>((scenario.size() >> (8 * i)) & 0xFF));
  scenari::sha256 hash;
  hash.update(scenario);
  hash.update(size);
  const scenari::sha256_digest digest = hash.finish();
  return scenario + size + std::string(digest.begin(), digest.end()) +
         std::string(scenari::carried_mark);
}

std::string u32(std::uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}
std::string field(const std::string& bytes) {
  return u32(static_cast<std::uint32_t>(bytes.size())) + bytes;
}

TEST(CarriedScenario, FieldsOutOfTheirBoundsAreDamageEvenUnderARightDigest) {
  const std::string texts = field("L") + field("T") + std::string(3, '\0');
  const struct {
    std::string scenario;
    std::string damage;
  } cases[] = {
      {u32(1) + '\1' + field("R") + field("1") + texts, ""},
      {u32(2) + '\1' + field("R") + field("1") + texts, "a format this installer does not know"},
      {u32(1) + '\2' + field("R") + field("1") + texts, "plan flag is neither 0 nor 1"},
      {u32(1) + '\1' + field("../R") + field("1") + texts, "folder separator"},
      {u32(1) + '\1' + field("R") + field("1") + field("L") + u32(0xFFFFFFFF),
       "train text is too large"},
      {u32(1) + '\1' + field("R") + field("1") + field("L") + u32(100) + "T",
       "ends inside the train text"},
      {u32(1) + '\1' + field("R") + field("1") + texts + "x", "bytes past its last field"},
      {u32(1) + '\1' + field("R") + field("1") + field("L") + field("T") + "\1",
       "ends inside the notes"},
  };
  for (const auto& c : cases) {
    const std::string installer = program + sealed_raw(c.scenario);
    if (c.damage.empty()) {
      EXPECT_NO_THROW(scenari::unseal_scenario(installer));
      continue;
    }
    try {
      scenari::unseal_scenario(installer);
      ADD_FAILURE() << "not refused: " << c.damage;
    } catch (const scenari::damaged_installer& d) {
      EXPECT_NE(std::string(d.what()).find(c.damage), std::string::npos) << d.what();
    }
  }
}

// The installer's bound on each carried text and document, at the bound and
// one byte over it, each under a right digest.
TEST(CarriedScenario, ATextAtItsBoundIsTakenAndOneByteOverIsDamage) {
  const std::size_t bound = scenari::largest_carried_file;
  const struct {
    std::size_t size;
    bool taken;
  } sizes[] = {{bound, true}, {bound + 1, false}};
  for (const auto& s : sizes) {
    const std::string big(s.size, 'x');
    const std::string head = u32(1) + '\1' + field("R") + field("1");
    const struct {
      const char* what;
      std::string scenario;
    } places[] = {
        {"line text", head + field(big) + field("T") + std::string(3, '\0')},
        {"train text", head + field("L") + field(big) + std::string(3, '\0')},
        {"notes", head + field("L") + field("T") + '\1' + field(big) + std::string(2, '\0')},
        {"train card", head + field("L") + field("T") + std::string(2, '\0') + '\1' + field(big)},
    };
    for (const auto& p : places) {
      const std::string installer = program + sealed_raw(p.scenario);
      if (s.taken) {
        EXPECT_NO_THROW(scenari::unseal_scenario(installer)) << p.what << " of " << s.size;
        continue;
      }
      try {
        scenari::unseal_scenario(installer);
        ADD_FAILURE() << p.what << " of " << s.size << " bytes was taken";
      } catch (const scenari::damaged_installer& d) {
        EXPECT_NE(std::string(d.what()).find(std::string(p.what) + " is too large"),
                  std::string::npos)
            << d.what();
      }
    }
  }
}

TEST(CarriedScenario, SealingRefusesWhatAnInstallerWouldRefuse) {
  scenari::carried_scenario too_large = small_scenario();
  too_large.notes = std::string(scenari::largest_carried_file + 1, 'x');
  EXPECT_THROW(scenari::seal_scenario(too_large), std::invalid_argument);
  scenari::carried_scenario bad_name = small_scenario();
  bad_name.identity.train_number = "NUL";
  EXPECT_THROW(scenari::seal_scenario(bad_name), std::invalid_argument);
}

}  // namespace
