// Exercise files as teachers mistype them: each mistake is one line naming
// the file's line and the key; a good file gives every field, paths taken
// relative to it.  And the grade sheet and platforms' files made from a
// record: CSV quoting, scores, statuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "exercise.h"
#include "views.h"

namespace {

namespace fs = std::filesystem;

class ExerciseFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kv390-exercise-test-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "sub");
        std::ofstream(dir_ / "sub" / "solution.c") << "int main(void) { return 0; }\n";
        std::ofstream(dir_ / "sub" / "paint.scr") << "";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& text) {
        const fs::path path = dir_ / "sub" / "exercise.toml";
        std::ofstream(path) << text;
        return path.string();
    }
    fs::path dir_;
};

TEST_F(ExerciseFile, ReadsEveryFieldWithPathsRelativeToTheFile) {
    const std::string path = write(R"(title = "Blue disc"
reference = "solution.c"
[[test]]
name = "disc after a click"
points = 5
input = """
at 500 click 10 10
at 1000 end
"""
timeout = 10
tolerance = 50
log_has = ["blue circle at (0,0), radius 60"]
log_lacks = ["Illegal color"]
[[test]]
name = "disc after a click!"
script = "paint.scr"
picture = false
)");
    grade::Exercise e;
    std::string error;
    ASSERT_TRUE(grade::read_exercise(path, &e, &error)) << error;
    EXPECT_EQ(e.title, "Blue disc");
    EXPECT_EQ(e.reference, (dir_ / "sub" / "solution.c").string());
    ASSERT_EQ(e.tests.size(), 2u);
    const grade::TestSpec& a = e.tests[0];
    EXPECT_EQ(a.points, 5u);
    EXPECT_EQ(a.input, "at 500 click 10 10\nat 1000 end\n");
    EXPECT_EQ(a.timeout_s, 10u);
    EXPECT_EQ(a.tolerance, 50u);
    EXPECT_TRUE(a.picture);
    EXPECT_EQ(a.log_has, std::vector<std::string>{"blue circle at (0,0), radius 60"});
    EXPECT_EQ(a.log_lacks, std::vector<std::string>{"Illegal color"});
    const grade::TestSpec& b = e.tests[1];
    EXPECT_EQ(b.script, (dir_ / "sub" / "paint.scr").string());
    EXPECT_FALSE(b.picture);
    EXPECT_EQ(b.points, 1u);
    // Names that differ only in characters a file name cannot hold stay apart.
    EXPECT_NE(a.file_name, b.file_name);
    EXPECT_EQ(e.max_score(), 6u);
}

TEST_F(ExerciseFile, EachMistakeIsOneLineNamingTheLineAndTheKey) {
    const std::string head = "title = \"T\"\nreference = \"solution.c\"\n";
    struct Case {
        std::string text, message;
    };
    const Case cases[] = {
        {head + "[[test]]\nname = \"a\"\npoints = \"five\"\n", ":5: points: needs a whole number"},
        {head + "[[test]]\nname = \"a\"\ntimeout = 0\n",
         ":5: timeout: needs a whole number from 1"},
        {head + "[[test]]\nname = \"a\"\ntolerence = 5\n",
         ":5: tolerence: unknown key (in test 1)"},
        {head + "[[test]]\nname = \"a\"\nlog_has = \"blue\"\n", ":5: log_has: needs a list"},
        {head + "[[test]]\nname = \"a\"\npicture = 1\n", ":5: picture: needs true or false"},
        {head + "[[test]]\nname = \"a\"\nscript = \"none.scr\"\n", ":5: script: no such file"},
        {head + "[[test]]\nname = \"a\"\n[[test]]\nname = \"a\"\n",
         ":6: name: needs a one-line name"},
        {head + "[[test]]\npoints = 1\n", ":3: name: missing (in test 1)"},
        {head, ":1: test: needs at least one [[test]] table"},
        {"title = \"T\"\nreference = \"gone.c\"\n[[test]]\nname = \"a\"\n",
         ":2: reference: no such file"},
        {head + "[[test]\n", ":3: "},  // TOML syntax: the parser's own words
        {head + "colour = 1\n[[test]]\nname = \"a\"\n", ":3: colour: unknown key"},
    };
    for (const Case& c : cases) {
        grade::Exercise e;
        std::string error;
        EXPECT_FALSE(grade::read_exercise(write(c.text), &e, &error)) << c.text;
        EXPECT_NE(error.find("exercise.toml" + c.message), std::string::npos)
            << "for:\n"
            << c.text << "got: " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(GradeViews, SheetAndPlatformFilesFollowTheRecord) {
    grade::GradeRecord record;
    record.exercise.title = "T";
    record.exercise.tests.resize(2);
    record.exercise.tests[0].name = "disc, blue";
    record.exercise.tests[0].points = 3;
    record.exercise.tests[1].name = "log";
    record.exercise.tests[1].points = 1;
    grade::SubmissionResult ok{"ann", true, "", {}, 1, 4};
    ok.tests = {{"disc, blue",
                 "t1",
                 0,
                 3,
                 false,
                 "picture differs in 9 pixels (tolerance 0)",
                 {"picture differs in 9 pixels (tolerance 0)", "log lacks: x"},
                 true,
                 true},
                {"log", "t2", 1, 1, true, "passed", {}, true, false}};
    grade::SubmissionResult broken{"bob \"b\"", false, "main.c:3: error: expected ';'\n", {}, 0, 4};
    record.submissions = {ok, broken};
    EXPECT_EQ(grade::grades_csv(record),
              "submission,score,max_score,\"disc, blue\",log\n"
              "ann,1,4,0,1\n"
              "\"bob \"\"b\"\"\",0,4,0,0\n");
    const auto gs = nlohmann::json::parse(grade::gradescope_json(record, ok));
    EXPECT_EQ(gs["score"], 1);
    EXPECT_EQ(gs["tests"][0]["status"], "failed");
    EXPECT_EQ(gs["tests"][0]["output"], "picture differs in 9 pixels (tolerance 0)\nlog lacks: x");
    EXPECT_EQ(gs["tests"][1]["status"], "passed");
    const auto gs_broken = nlohmann::json::parse(grade::gradescope_json(record, broken));
    EXPECT_EQ(
        gs_broken["tests"][1]["output"].get<std::string>().rfind("compile error\nmain.c:3", 0), 0u);
    const auto pl = nlohmann::json::parse(grade::prairielearn_json(record, ok, "/nonexistent"));
    EXPECT_DOUBLE_EQ(pl["score"].get<double>(), 0.25);
    EXPECT_EQ(pl["tests"][0]["max_points"], 3);
    EXPECT_TRUE(pl["tests"][0]["images"].empty());  // no pictures in that folder
    // The report escapes what students control and says when nothing was sandboxed.
    record.sandboxed = false;
    const std::string html = grade::report_html(record);
    EXPECT_NE(html.find("bob &quot;b&quot;"), std::string::npos);
    EXPECT_NE(html.find("not sandboxed"), std::string::npos);
    EXPECT_EQ(html.find("bob \"b\""), std::string::npos);
}

}  // namespace
