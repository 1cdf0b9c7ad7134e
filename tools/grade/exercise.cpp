// Reading an exercise file with toml++.  Every key is checked for its type
// and range, and an unknown key is an error too (a misspelt "tolerence"
// must not silently become the default).
#include "exercise.h"

#include <toml++/toml.h>
#include <filesystem>
#include <set>

namespace grade {

namespace {

namespace fs = std::filesystem;

struct Bad {
    std::string message;
};

std::string where(const std::string& file, const toml::source_region& source) {
    return file + ":" + std::to_string(source.begin.line);
}

// Reads the keys of one table, each with its own rule.
class Keys {
  public:
    Keys(const std::string& file, const toml::table& table, const std::string& context)
        : file_(file), table_(table), context_(context) {}

    [[noreturn]] void fail(const toml::node& node, const std::string& key,
                           const std::string& what) const {
        throw Bad{where(file_, node.source()) + ": " + key + ": " + what};
    }

    std::string text(const std::string& key, bool required, const std::string& fallback = "") {
        seen_.insert(key);
        const toml::node* node = table_.get(key);
        if (node == nullptr) {
            if (required)
                throw Bad{where(file_, table_.source()) + ": " + key + ": missing" + context_};
            return fallback;
        }
        if (!node->is_string()) fail(*node, key, "needs a text in quotes");
        return node->as_string()->get();
    }

    std::uint64_t whole(const std::string& key, std::uint64_t fallback, std::uint64_t min,
                        std::uint64_t max) {
        seen_.insert(key);
        const toml::node* node = table_.get(key);
        if (node == nullptr) return fallback;
        if (!node->is_integer() || node->as_integer()->get() < std::int64_t(min) ||
            node->as_integer()->get() > std::int64_t(max))
            fail(*node, key,
                 "needs a whole number from " + std::to_string(min) + " to " + std::to_string(max));
        return std::uint64_t(node->as_integer()->get());
    }

    bool flag(const std::string& key, bool fallback) {
        seen_.insert(key);
        const toml::node* node = table_.get(key);
        if (node == nullptr) return fallback;
        if (!node->is_boolean()) fail(*node, key, "needs true or false");
        return node->as_boolean()->get();
    }

    std::vector<std::string> lines(const std::string& key) {
        seen_.insert(key);
        std::vector<std::string> result;
        const toml::node* node = table_.get(key);
        if (node == nullptr) return result;
        const toml::array* array = node->as_array();
        if (array == nullptr) fail(*node, key, "needs a list of texts: [\"...\", \"...\"]");
        for (const toml::node& item : *array) {
            if (!item.is_string() || item.as_string()->get().empty() ||
                item.as_string()->get().find('\n') != std::string::npos)
                fail(item, key, "needs a list of one-line, non-empty texts");
            result.push_back(item.as_string()->get());
        }
        return result;
    }

    void skip(const std::string& key) { seen_.insert(key); }

    // Every key of the table must have been asked for.
    void no_others() const {
        for (const auto& [key, node] : table_) {
            if (seen_.count(std::string(key.str())) == 0)
                throw Bad{where(file_, node.source()) + ": " + std::string(key.str()) +
                          ": unknown key" + context_};
        }
    }

  private:
    std::string file_;
    const toml::table& table_;
    std::string context_;
    std::set<std::string> seen_;
};

std::string relative_to(const std::string& file, const std::string& path) {
    return fs::absolute(fs::path(file).parent_path() / path).lexically_normal().string();
}

std::string file_name_for(const std::string& name, const std::set<std::string>& taken) {
    std::string safe;
    for (char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        safe += plain ? c : '-';
    }
    if (safe.size() > 40) safe.resize(40);
    std::string candidate = "test-" + safe;
    for (int n = 2; taken.count(candidate) != 0; ++n)
        candidate = "test-" + safe + "-" + std::to_string(n);
    return candidate;
}

TestSpec read_test(const std::string& file, const toml::table& table, std::size_t index,
                   std::set<std::string>* names, std::set<std::string>* file_names) {
    Keys keys(file, table, " (in test " + std::to_string(index + 1) + ")");
    TestSpec t;
    t.name = keys.text("name", true);
    if (t.name.empty() || t.name.find('\n') != std::string::npos || !names->insert(t.name).second)
        keys.fail(*table.get("name"), "name", "needs a one-line name no other test has");
    t.points = keys.whole("points", 1, 0, 1000000);
    t.input = keys.text("input", false);
    const std::string script = keys.text("script", false);
    if (!script.empty()) {
        if (!t.input.empty())
            keys.fail(*table.get("script"), "script", "give input or script, not both");
        t.script = relative_to(file, script);
        if (!fs::is_regular_file(t.script))
            keys.fail(*table.get("script"), "script", "no such file: " + t.script);
    }
    t.timeout_s = keys.whole("timeout", 10, 1, 100000);
    t.tolerance = keys.whole("tolerance", 0, 0, 1000000000);
    t.picture = keys.flag("picture", true);
    t.log_has = keys.lines("log_has");
    t.log_lacks = keys.lines("log_lacks");
    keys.no_others();
    t.file_name = file_name_for(t.name, *file_names);
    file_names->insert(t.file_name);
    return t;
}

}  // namespace

std::uint64_t Exercise::max_score() const {
    std::uint64_t sum = 0;
    for (const TestSpec& t : tests) sum += t.points;
    return sum;
}

bool read_exercise(const std::string& path, Exercise* exercise, std::string* error) {
    Exercise e;
    e.path = fs::absolute(path).lexically_normal().string();
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        *error = "cannot read the exercise " + path + ": there is no such file";
        return false;
    }
    try {
        toml::table root = toml::parse_file(path);
        Keys keys(path, root, "");
        e.title = keys.text("title", true);
        e.reference = relative_to(path, keys.text("reference", true));
        if (!fs::exists(e.reference))
            keys.fail(*root.get("reference"), "reference", "no such file: " + e.reference);
        const toml::node* tests = root.get("test");
        keys.skip("test");
        keys.no_others();
        if (tests == nullptr || !tests->is_array_of_tables() || tests->as_array()->empty())
            throw Bad{path + ":1: test: needs at least one [[test]] table"};
        std::set<std::string> names, file_names;
        for (std::size_t i = 0; i < tests->as_array()->size(); ++i) {
            e.tests.push_back(
                read_test(path, *tests->as_array()->get(i)->as_table(), i, &names, &file_names));
        }
    } catch (const toml::parse_error& e) {
        *error = path + ":" + std::to_string(e.source().begin.line) + ": " +
                 std::string(e.description());
        return false;
    } catch (const Bad& bad) {
        *error = bad.message;
        return false;
    }
    *exercise = e;
    return true;
}

}  // namespace grade
