// docs/API.md documents every public name: each name kv390.h and the harness
// header declare appears there in code type (`name`), and every KV390_ operation the
// page shows is declared in kv390.h.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string read_file(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text without /* */ and // comments.
std::string without_comments(const std::string& text) {
    static const std::regex comment(R"(/\*[\s\S]*?\*/|//[^\n]*)");
    return std::regex_replace(text, comment, " ");
}

std::set<std::string> matches(const std::string& text, const std::regex& pattern) {
    std::set<std::string> names;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
        names.insert((*it)[1].str());
    }
    return names;
}

// Operations, macros, types and colour constants of kv390.h.
std::set<std::string> library_names() {
    const std::string code = without_comments(read_file(KV390_HEADER));
    std::set<std::string> names = matches(code, std::regex(R"(\b(KV390_\w+))"));
    names.erase("KV390_H");  // the include guard
    for (const std::string& colour : matches(code, std::regex(R"(\b([A-Z][A-Z0-9_]*) = \d+)"))) {
        names.insert(colour);
    }
    return names;
}

// Functions, records and aliases of the harness header.
std::set<std::string> harness_names() {
    const std::string code = without_comments(read_file(KV390_HARNESS_HEADER));
    std::set<std::string> names =
        matches(code, std::regex(R"(\b([a-z][a-z0-9_]*)\((?:[^()]|\([^()]*\))*\)\s*;)"));
    for (const std::string& type : matches(code, std::regex(R"(\b(?:struct|using) (\w+))"))) {
        names.insert(type);
    }
    return names;
}

// Every identifier the page shows in code type: in fenced blocks and in
// `inline` spans.
std::set<std::string> names_in_code(const std::string& page) {
    static const std::regex fenced("```[^\\n]*\\n([\\s\\S]*?)```");
    static const std::regex inline_code("`([^`\\n]+)`");
    static const std::regex identifier(R"(\b([A-Za-z_]\w*))");
    std::set<std::string> names;
    std::string code;
    for (const std::string& block : matches(page, fenced)) code += block + "\n";
    for (const std::string& span : matches(std::regex_replace(page, fenced, ""), inline_code)) {
        code += span + "\n";
    }
    return matches(code, identifier);
}

TEST(ApiReference, NamesEveryPublicNameOfTheLibraryHeader) {
    const std::string page = read_file(KV390_API_DOC);
    ASSERT_FALSE(page.empty()) << KV390_API_DOC << " is missing";
    const std::set<std::string> shown = names_in_code(page);
    const std::set<std::string> names = library_names();
    ASSERT_GT(names.size(), 50u) << "the header was not read";
    for (const std::string& name : names) EXPECT_EQ(shown.count(name), 1u) << name;
}

TEST(ApiReference, NamesEveryHarnessCall) {
    const std::set<std::string> shown = names_in_code(read_file(KV390_API_DOC));
    const std::set<std::string> names = harness_names();
    ASSERT_GT(names.size(), 20u) << "the harness header was not read";
    for (const std::string& name : names) EXPECT_EQ(shown.count(name), 1u) << name;
}

TEST(ApiReference, ShowsNoOperationTheHeaderLacks) {
    const std::string page = read_file(KV390_API_DOC);
    const std::set<std::string> declared = library_names();
    for (const std::string& name : matches(page, std::regex(R"(\b(KV390_[a-z]\w*)\()"))) {
        EXPECT_TRUE(declared.count(name) == 1) << name << " is documented but not declared";
    }
}

}  // namespace
