// The grading walk-through of docs/TEACHING.md, run as written on three
// submissions (a right one, one in a colour that does not exist, one that
// crashes); the grades must be those the document shows.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "harness_test.h"
#include "tool_run.h"

namespace {

namespace fs = std::filesystem;

using kv390::test::read_file;

// The body of the first fenced block after `marker`.
std::string block_after(const std::string& text, const std::string& marker) {
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) return "";
    const std::size_t open = text.find("```", at);
    const std::size_t body = text.find('\n', open) + 1;
    const std::size_t close = text.find("\n```", body);
    return text.substr(body, close + 1 - body);
}

void write_program(const fs::path& path, const std::string& mode) {
    std::ofstream(path) << "#!/bin/sh\nexec '" << KV390_RUN_SUBJECT << "' " << mode << "\n";
    fs::permissions(path, fs::perms::owner_all);
}

TEST(TeachingWalkthroughTest, GradesThreeSubmissionsAsTheDocumentShows) {
    const std::string doc = read_file(kv390::test::source_dir() / "docs/TEACHING.md");
    const std::string walkthrough = block_after(doc, "<!-- grading-walkthrough");
    const std::string expected = block_after(doc, "`grades.txt` then reads");
    ASSERT_NE(walkthrough.find("kv390-compare"), std::string::npos) << "walk-through not found";
    ASSERT_NE(expected.find("alice"), std::string::npos);

    const fs::path dir = kv390::test::fresh_temp_dir("teaching-walkthrough");
    fs::create_directories(dir / "submissions");
    write_program(dir / "solution", "blue-disc");
    write_program(dir / "submissions/alice", "blue-disc");
    write_program(dir / "submissions/bob", "red-disc");
    write_program(dir / "submissions/carol", "null");
    std::ofstream(dir / "walkthrough.sh") << walkthrough;

    const std::string tools = fs::path(KV390_RUN_TOOL).parent_path().string() + ":" +
                              fs::path(KV390_COMPARE_TOOL).parent_path().string();
    // A sanitizer build's handler would catch carol's fault before the signal.
    const std::string command = "cd '" + dir.string() + "' && PATH='" + tools +
                                "':\"$PATH\" ASAN_OPTIONS=handle_segv=0 bash walkthrough.sh";
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << raw;
    EXPECT_EQ(read_file(dir / "grades.txt"), expected);
    EXPECT_TRUE(fs::exists(dir / "results/bob-diff.png"));
    fs::remove_all(dir);
}

}  // namespace
