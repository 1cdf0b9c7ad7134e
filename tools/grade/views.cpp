// Views of the grading record.  Nothing here decides a verdict: every word
// shown comes from the record.
#include "views.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "text_file.h"

namespace grade {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::string html(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// A link's path: every part percent-encoded but the separators.
std::string url(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        const bool plain = std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.';
        out += plain ? std::string(1, char(c)) : std::string{'%', hex[c >> 4], hex[c & 15]};
    }
    return out;
}

std::string csv(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string base64(const std::string& bytes) {
    static const char* table = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned n = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8 |
                           (unsigned char)bytes[i + 2];
        out += {table[n >> 18], table[(n >> 12) & 63], table[(n >> 6) & 63], table[n & 63]};
    }
    if (i + 1 == bytes.size()) {
        const unsigned n = (unsigned char)bytes[i] << 16;
        out += {table[n >> 18], table[(n >> 12) & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const unsigned n = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8;
        out += {table[n >> 18], table[(n >> 12) & 63], table[(n >> 6) & 63], '='};
    }
    return out;
}

bool write_file(const std::string& path, const std::string& text, std::string* error) {
    const std::string partial = path + ".partial";
    {
        std::ofstream out(partial, std::ios::binary);
        out << text;
        out.close();
        if (!out) {
            *error = "cannot write " + path;
            return false;
        }
    }
    std::error_code ec;
    fs::rename(partial, path, ec);
    if (ec) *error = "cannot write " + path + ": " + ec.message();
    return !ec;
}

std::string thumbnail(const std::string& path, const std::string& label, bool present) {
    if (!present) return "<span class=\"none\">no " + html(label) + "</span>";
    return "<a href=\"" + html(url(path)) + "\"><img class=\"thumb\" src=\"" + html(url(path)) +
           "\" alt=\"" + html(label) + "\" title=\"" + html(label) + "\"></a>";
}

const char* const STYLE = R"(
body { font-family: sans-serif; margin: 1.5em; color: #222; }
table { border-collapse: collapse; }
th, td { border: 1px solid #ccc; padding: 0.4em; vertical-align: top; text-align: left; }
td.passed { background: #e9f7e9; }
td.failed { background: #fbeaea; }
img.thumb { width: 120px; height: auto; border: 1px solid #999; margin-right: 2px; }
.verdict { font-weight: bold; }
.detail, pre { font-size: 85%; white-space: pre-wrap; max-width: 60em; margin: 0.2em 0; }
.none { color: #888; font-size: 85%; margin-right: 0.5em; }
.warning { background: #fff3c4; padding: 0.5em; border: 1px solid #d9b800; }
)";

}  // namespace

std::string report_html(const GradeRecord& record) {
    const Exercise& e = record.exercise;
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n<title>"
        << html(e.title) << ": grades</title>\n<style>" << STYLE << "</style></head><body>\n";
    out << "<h1>" << html(e.title) << "</h1>\n<p>" << record.submissions.size() << " submissions, "
        << e.tests.size() << " tests, " << e.max_score()
        << " points.  Pictures: expected | submitted | differences in red (click for full "
           "size).</p>\n";
    if (!record.sandboxed)
        out << "<p class=\"warning\" id=\"not-sandboxed\">not sandboxed: the programs ran with "
               "the rights of the teacher's account (--no-sandbox).</p>\n";
    out << "<table id=\"grades\"><thead><tr><th>Submission</th><th>Score</th>";
    for (const TestSpec& t : e.tests) out << "<th>" << html(t.name) << " (" << t.points << ")</th>";
    out << "</tr></thead><tbody>\n";
    for (const SubmissionResult& s : record.submissions) {
        out << "<tr class=\"submission\" data-name=\"" << html(s.name) << "\"><td>" << html(s.name)
            << "</td><td class=\"score\">" << s.score << " / " << s.max_score << "</td>";
        if (!s.built) {
            out << "<td class=\"failed\" colspan=\"" << e.tests.size()
                << "\"><div class=\"verdict\">compile error</div><pre>" << html(s.build_log)
                << "</pre></td></tr>\n";
            continue;
        }
        for (const TestResult& t : s.tests) {
            out << "<td class=\"" << (t.passed ? "passed" : "failed")
                << "\"><div class=\"verdict\">" << html(t.output) << "</div>";
            out << thumbnail("reference/" + t.file_name + ".png", "expected", true)
                << thumbnail(s.name + "/" + t.file_name + ".png", "submitted", t.has_picture)
                << thumbnail(s.name + "/" + t.file_name + "-diff.png", "differences", t.has_diff);
            for (std::size_t i = t.passed ? 0 : 1; i < t.details.size(); ++i)
                out << "<div class=\"detail\">" << html(t.details[i]) << "</div>";
            out << "</td>";
        }
        out << "</tr>\n";
    }
    out << "</tbody></table>\n</body></html>\n";
    return out.str();
}

std::string grades_csv(const GradeRecord& record) {
    std::ostringstream out;
    out << "submission,score,max_score";
    for (const TestSpec& t : record.exercise.tests) out << "," << csv(t.name);
    out << "\n";
    for (const SubmissionResult& s : record.submissions) {
        out << csv(s.name) << "," << s.score << "," << s.max_score;
        for (std::size_t i = 0; i < record.exercise.tests.size(); ++i)
            out << "," << (s.built ? s.tests[i].points : 0);
        out << "\n";
    }
    return out.str();
}

std::string gradescope_json(const GradeRecord& record, const SubmissionResult& s) {
    json tests = json::array();
    for (std::size_t i = 0; i < record.exercise.tests.size(); ++i) {
        const TestSpec& spec = record.exercise.tests[i];
        const bool passed = s.built && s.tests[i].passed;
        std::string output = s.built ? s.tests[i].output : "compile error\n" + s.build_log;
        if (s.built) {
            for (std::size_t d = passed ? 0 : 1; d < s.tests[i].details.size(); ++d)
                output += "\n" + s.tests[i].details[d];
        }
        tests.push_back({{"name", spec.name},
                         {"score", passed ? spec.points : 0},
                         {"max_score", spec.points},
                         {"status", passed ? "passed" : "failed"},
                         {"output", output}});
    }
    json result = {{"score", s.score}, {"max_score", s.max_score}, {"tests", tests}};
    if (!record.sandboxed) result["output"] = "not sandboxed";
    return result.dump(2) + "\n";
}

std::string prairielearn_json(const GradeRecord& record, const SubmissionResult& s,
                              const std::string& out_dir) {
    json tests = json::array();
    for (std::size_t i = 0; i < record.exercise.tests.size(); ++i) {
        const TestSpec& spec = record.exercise.tests[i];
        json test = {{"name", spec.name}, {"max_points", spec.points}};
        if (!s.built) {
            test["points"] = 0;
            test["message"] = "compile error";
            tests.push_back(test);
            continue;
        }
        const TestResult& t = s.tests[i];
        test["points"] = t.points;
        std::string message = t.output;
        for (std::size_t d = t.passed ? 0 : 1; d < t.details.size(); ++d)
            message += "\n" + t.details[d];
        test["message"] = message;
        json images = json::array();
        const std::pair<std::string, std::string> pictures[] = {
            {"expected", (fs::path(out_dir) / "reference" / (t.file_name + ".png")).string()},
            {"submitted", (fs::path(out_dir) / s.name / (t.file_name + ".png")).string()},
            {"differences", (fs::path(out_dir) / s.name / (t.file_name + "-diff.png")).string()}};
        for (const auto& [label, path] : pictures) {
            std::error_code ec;
            if (!fs::is_regular_file(path, ec)) continue;
            images.push_back({{"label", label},
                              {"url", "data:image/png;base64," +
                                          base64(kv390::tools::read_file_or_empty(path))}});
        }
        test["images"] = images;
        tests.push_back(test);
    }
    const double score = s.max_score == 0 ? 0.0 : double(s.score) / double(s.max_score);
    std::string message = s.built ? "" : "compile error\n" + s.build_log;
    if (!record.sandboxed) message += "not sandboxed\n";
    json result = {{"gradable", true}, {"score", score}, {"message", message}, {"tests", tests}};
    return result.dump(2) + "\n";
}

bool write_views(const GradeRecord& record, const std::string& out_dir, std::string* error) {
    for (const SubmissionResult& s : record.submissions) {
        const std::string folder = (fs::path(out_dir) / s.name).string();
        if (!write_file(folder + "/results.json", gradescope_json(record, s), error) ||
            !write_file(folder + "/pl-results.json", prairielearn_json(record, s, out_dir), error))
            return false;
    }
    return write_file((fs::path(out_dir) / "grades.csv").string(), grades_csv(record), error) &&
           write_file((fs::path(out_dir) / "index.html").string(), report_html(record), error);
}

}  // namespace grade
