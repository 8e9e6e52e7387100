#include "app/start_as_user.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/log.h"

namespace osk {
namespace {

using Elevation = UserStarter::Elevation;

class FakeStarter final : public UserStarter {
 public:
  Elevation level = Elevation::Limited;
  bool shellWorks = true;
  bool directWorks = true;
  std::vector<std::string> calls;  // "shell <parameters>" / "direct <parameters>"

  Elevation elevation() override { return level; }
  LaunchOutcome startThroughShell(const std::string& parameters) override {
    calls.push_back("shell " + parameters);
    return answer(shellWorks, "no desktop shell window");
  }
  LaunchOutcome startDirectly(const std::string& parameters) override {
    calls.push_back("direct " + parameters);
    return answer(directWorks, "Access is denied.");
  }

 private:
  static LaunchOutcome answer(bool works, const char* why) {
    return works ? LaunchOutcome{LaunchOutcome::Status::Started, {}}
                 : LaunchOutcome{LaunchOutcome::Status::Failed, why};
  }
};

std::vector<std::string>& logged() {
  static std::vector<std::string> lines;
  return lines;
}

class StartAsUser : public ::testing::Test {
 protected:
  void SetUp() override {
    logged().clear();
    setLogSink([](std::string_view line) noexcept { logged().emplace_back(line); });
  }
  void TearDown() override { setLogSink(nullptr); }
};

// The route follows the rights this start has: only an elevated (or
// unknown) start needs the shell, and no failure of the shell leaves the
// user without a keyboard while a direct start can still give one.
TEST_F(StartAsUser, TakesTheShellOnlyWhenElevatedAndFallsBackToADirectStart) {
  struct Row {
    Elevation level;
    bool shellWorks;
    bool directWorks;
    std::vector<std::string> calls;
    UserStartResult result;
    std::vector<std::string> logMentions;  // one per line logged
  };
  const Row rows[] = {
      {Elevation::Limited, true, true, {"direct --keep-focus"}, {UserStartRoute::Direct, 0}, {}},
      {Elevation::Limited, false, true, {"direct --keep-focus"}, {UserStartRoute::Direct, 0}, {}},
      {Elevation::Limited,
       true,
       false,
       {"direct --keep-focus"},
       {UserStartRoute::None, 1},
       {"Access is denied."}},
      {Elevation::Elevated, true, true, {"shell --keep-focus"}, {UserStartRoute::Shell, 0}, {}},
      {Elevation::Elevated,
       false,
       true,
       {"shell --keep-focus", "direct --keep-focus"},
       {UserStartRoute::Direct, 0},
       {"no desktop shell window); starting it as administrator instead"}},
      {Elevation::Elevated,
       false,
       false,
       {"shell --keep-focus", "direct --keep-focus"},
       {UserStartRoute::None, 1},
       {"as administrator instead", "Access is denied."}},
      {Elevation::Unknown, true, false, {"shell --keep-focus"}, {UserStartRoute::Shell, 0}, {}},
      {Elevation::Unknown,
       false,
       true,
       {"shell --keep-focus", "direct --keep-focus"},
       {UserStartRoute::Direct, 0},
       {"with this start's rights instead"}},
  };
  for (const Row& row : rows) {
    logged().clear();
    FakeStarter starter;
    starter.level = row.level;
    starter.shellWorks = row.shellWorks;
    starter.directWorks = row.directWorks;
    const UserStartResult result = startAsSignedInUser(starter, {"--start-as-user", "--keep-focus"});
    const std::string where = "elevation " + std::to_string(static_cast<int>(row.level)) + ", shell " +
                              (row.shellWorks ? "works" : "fails") + ", direct " +
                              (row.directWorks ? "works" : "fails");
    EXPECT_EQ(starter.calls, row.calls) << where;
    EXPECT_EQ(result, row.result) << where;
    ASSERT_EQ(logged().size(), row.logMentions.size()) << where;
    for (std::size_t i = 0; i < row.logMentions.size(); ++i)
      EXPECT_NE(logged()[i].find(row.logMentions[i]), std::string::npos) << where << ": " << logged()[i];
  }
}

// The started keyboard gets every other switch, split back as given, and
// never the switch itself, which would start yet another keyboard.
TEST_F(StartAsUser, PassesOnEveryOtherArgumentAndNeverItself) {
  struct Row {
    std::vector<std::string> arguments;
    std::string passed;
  };
  const Row rows[] = {
      {{"--start-as-user"}, ""},
      {{"--START-AS-USER", "--keep-focus", "--start-as-user"}, "--keep-focus"},
      {{"--follow-input-language", "--start-as-user", "--no-keep-focus"},
       "--follow-input-language --no-keep-focus"},
      {{"--start-as-user", "a b", ""}, "\"a b\" \"\""},
      {{"--start-as-user", R"(say "hi")", R"(C:\my dir\)", R"(x\y)"}, R"("say \"hi\"" "C:\my dir\\" x\y)"},
  };
  for (const Row& row : rows) {
    FakeStarter starter;
    starter.level = Elevation::Elevated;
    EXPECT_TRUE(wantsStartAsUser(row.arguments));
    startAsSignedInUser(starter, row.arguments);
    EXPECT_EQ(starter.calls, std::vector<std::string>{"shell " + row.passed}) << row.passed;
  }
  EXPECT_FALSE(wantsStartAsUser({"--keep-focus", "--start-as-user-not"}));
}

}  // namespace
}  // namespace osk
