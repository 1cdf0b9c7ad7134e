// kv390-grade: grades a class of KV390 programs against an exercise file,
// sandboxed, and writes a picture report, a grade sheet and the autograder
// platforms' results (see --help and docs/TEACHING.md).
//   kv390-grade EXERCISE.toml SUBMISSION... --out DIR [--jobs N]
//   kv390-grade pack gradescope|prairielearn EXERCISE.toml OUT
//   kv390-grade export-json EXERCISE.toml [OUT.json]
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <set>
#include <thread>

#include "export_json.h"
#include "grade.h"
#include "pack.h"
#include "process.h"
#include "sandbox.h"
#include "views.h"

namespace {

namespace fs = std::filesystem;

enum { GRADED = 0, FAILED = 1, BAD_INPUT = 2, INTERRUPTED = 130 };

int fail(int code, const std::string& message) {
    std::fprintf(stderr, "kv390-grade: %s\n", message.c_str());
    return code;
}

std::string tool_folder() {
    return fs::path(kv390::tools::this_executable()).parent_path().string();
}

// Where the source tree this tool was built from is, for the packs.
std::string default_source() {
#ifdef KV390_SOURCE_DIR
    return KV390_SOURCE_DIR;
#else
    return "";
#endif
}

bool inside(const fs::path& inner, const fs::path& outer) {
    const std::string a = fs::weakly_canonical(inner).string() + "/";
    const std::string b = fs::weakly_canonical(outer).string() + "/";
    return a.compare(0, b.size(), b) == 0;
}

bool check_submissions(const grade::ClassJob& job, std::string* error) {
    std::set<std::string> names;
    for (const std::string& path : job.submissions) {
        const std::string name = grade::submission_name(path);
        std::error_code ec;
        if (!fs::exists(path, ec)) {
            *error = "no such submission: " + path;
        } else if (name == "reference" || name.empty() || !names.insert(name).second) {
            *error = "two submissions are named " + name +
                     " (or one is named reference): their results would mix";
        } else if (inside(job.out_dir, path) || inside(path, job.out_dir)) {
            *error = "the output folder " + job.out_dir + " and the submission " + path +
                     " must not hold one another";
        } else {
            continue;
        }
        return false;
    }
    return true;
}

int pack(const std::string& platform, const std::string& exercise_path, const std::string& out,
         const std::string& source) {
    grade::Exercise exercise;
    std::string error;
    if (!grade::read_exercise(exercise_path, &exercise, &error)) return fail(BAD_INPUT, error);
    if (source.empty() || !fs::exists(fs::path(source) / "CMakeLists.txt"))
        return fail(BAD_INPUT, "no KV390 sources at \"" + source + "\": give --source DIR");
    const bool ok = platform == "gradescope"
                        ? grade::pack_gradescope(exercise, source, out, &error)
                        : grade::pack_prairielearn(exercise, source, out, &error);
    if (!ok) return fail(FAILED, error);
    std::printf("kv390-grade: %s pack written to %s\n", platform.c_str(), out.c_str());
    return GRADED;
}

// The exercise's tests as JSON, to OUT (complete or not at all) or stdout.
int export_json(const std::string& exercise_path, const std::string& out) {
    grade::Exercise exercise;
    std::string error, json;
    if (!grade::read_exercise(exercise_path, &exercise, &error)) return fail(BAD_INPUT, error);
    if (!grade::exercise_json(exercise, &json, &error)) return fail(BAD_INPUT, error);
    if (out.empty()) {
        std::fwrite(json.data(), 1, json.size(), stdout);
        return std::fflush(stdout) == 0 ? GRADED : fail(FAILED, "cannot write the JSON");
    }
    const std::string partial = out + ".partial";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    bool ok = file != nullptr && std::fwrite(json.data(), 1, json.size(), file) == json.size();
    if (file != nullptr) ok = std::fclose(file) == 0 && ok;
    std::error_code ec;
    if (ok) fs::rename(partial, out, ec);
    if (!ok || ec) {
        fs::remove(partial, ec);
        return fail(FAILED, "cannot write " + out);
    }
    return GRADED;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Grades KV390 programs against an exercise file (docs/TEACHING.md)",
                 "kv390-grade"};
    app.require_subcommand(0, 1);
    std::string exercise_path, out_dir, prefix;
    std::vector<std::string> submissions;
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    bool no_sandbox = false;
    std::uint64_t compile_timeout = 60;
    kv390::tools::SandboxLimits limits;
    app.add_option("exercise", exercise_path, "the exercise file (TOML)");
    app.add_option("submissions", submissions,
                   "folders of .c/.cpp files, source files or programs, one per student");
    app.add_option("--out", out_dir, "the folder for the report and results");
    app.add_option("--jobs", jobs, "submissions graded at once (default: all cores)")
        ->check(CLI::Range(1, 64));
    app.add_option("--kv390", prefix,
                   "where KV390 is installed (default: the prefix kv390-grade is installed in)");
    app.add_option("--compile-timeout", compile_timeout, "seconds a build may take (default 60)")
        ->check(CLI::Range(1, 100000));
    app.add_flag("--no-sandbox", no_sandbox,
                 "run the programs unconfined, with your rights (where no sandbox exists)");
    app.add_option("--memory-mb", limits.memory_mb, "address space of each process (1024)")
        ->check(CLI::Range(16, 1 << 20));
    app.add_option("--cpu-seconds", limits.cpu_s, "CPU time of each process (60)")
        ->check(CLI::Range(1, 1000000));
    app.add_option("--processes", limits.processes, "processes of each run (64)")
        ->check(CLI::Range(1, 100000));
    app.add_option("--file-mb", limits.file_mb, "largest file a program may write (256)")
        ->check(CLI::Range(1, 1 << 20));
    app.add_option("--open-files", limits.open_files, "open files of each process (256)")
        ->check(CLI::Range(16, 100000));

    CLI::App* pack_command = app.add_subcommand("pack", "write an autograder platform's files");
    std::string platform, pack_exercise, pack_out, source = default_source();
    pack_command->add_option("platform", platform, "gradescope or prairielearn")
        ->required()
        ->check(CLI::IsMember({"gradescope", "prairielearn"}));
    pack_command->add_option("exercise", pack_exercise, "the exercise file")->required();
    pack_command->add_option("out", pack_out, "OUT.zip (gradescope) or OUT/ (prairielearn)")
        ->required();
    pack_command->add_option("--source", source, "the KV390 sources to ship (default: these)");
    CLI::App* export_command =
        app.add_subcommand("export-json", "write the exercise's tests as JSON (the playground)");
    std::string export_exercise, export_out;
    export_command->add_option("exercise", export_exercise, "the exercise file")->required();
    export_command->add_option("out", export_out, "OUT.json (default: standard output)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::string what = e.what();
        return fail(BAD_INPUT, what.substr(0, what.find('\n')) + " (see --help)");
    }
    if (pack_command->parsed()) return pack(platform, pack_exercise, pack_out, source);
    if (export_command->parsed()) return export_json(export_exercise, export_out);
    if (exercise_path.empty() || submissions.empty() || out_dir.empty())
        return fail(BAD_INPUT, "give EXERCISE.toml SUBMISSION... --out DIR (see --help)");

    grade::ClassJob job;
    std::string error;
    if (!grade::read_exercise(exercise_path, &job.exercise, &error)) return fail(BAD_INPUT, error);
    job.submissions = submissions;
    job.out_dir = fs::absolute(out_dir).lexically_normal().string();
    job.jobs = jobs;
    if (!check_submissions(job, &error)) return fail(BAD_INPUT, error);
    if (!no_sandbox && !kv390::tools::sandbox_available(&error))
        return fail(BAD_INPUT, "cannot sandbox the programs: " + error +
                                   "; give --no-sandbox to run them with your rights");
    job.run.sandbox = job.build.sandbox = !no_sandbox;
    job.run.limits = job.build.limits = limits;
    job.build.timeout_s = compile_timeout;
    job.run.runner = (fs::path(tool_folder()) / "kv390-run").string();
    job.build.prefix = prefix.empty() ? fs::path(tool_folder()).parent_path().string() : prefix;
    job.build.prefix = fs::absolute(job.build.prefix).lexically_normal().string();
    if (!grade::kv390_flags(job.build.prefix, &job.build.flags, &error))
        return fail(BAD_INPUT, error);
    std::error_code ec;
    fs::create_directories(fs::path(job.out_dir) / "reference", ec);
    if (ec) return fail(FAILED, "cannot make " + job.out_dir + ": " + ec.message());

    kv390::tools::catch_interrupts();
    grade::GradeRecord record;
    if (!grade::grade_class(job, &record, &error))
        return fail(kv390::tools::interrupted() ? INTERRUPTED : FAILED, error);
    if (!grade::write_views(record, job.out_dir, &error)) return fail(FAILED, error);
    std::fprintf(stderr, "kv390-grade: %zu submissions graded%s; report: %s/index.html\n",
                 record.submissions.size(), record.sandboxed ? "" : " (not sandboxed)",
                 job.out_dir.c_str());
    return GRADED;
}
