// The packs hold a copy of the exercise made self-contained (the reference
// and the scripts beside it, the file rewritten to name them), the KV390
// sources, and shell scripts in the platform's layout.  The platform's root
// folder can be moved with KV390_PLATFORM_ROOT, for trying a pack locally.
#include "pack.h"

#include <toml++/toml.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "process.h"

namespace grade {

namespace {

namespace fs = std::filesystem;

const char* const SETUP_SH = R"sh(#!/bin/sh
# Installs KV390 and kv390-grade, built from the sources in this pack, on a
# Debian or Ubuntu image.  KV390_SKIP_APT=1 skips the packages (they are
# there already); nothing is built when KV390_PREFIX holds kv390-grade.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
prefix=${KV390_PREFIX:-/usr/local}
if [ -z "${KV390_SKIP_APT:-}" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends build-essential cmake pkg-config \
    libfreetype-dev libpng-dev libgif-dev libsdl2-dev libtomlplusplus-dev libcli11-dev \
    nlohmann-json3-dev bubblewrap zip
fi
if [ ! -x "$prefix/bin/kv390-grade" ]; then
  build=$(mktemp -d)
  tar -xzf "$here/kv390-source.tar.gz" -C "$build"
  cmake -S "$build" -B "$build/build" -DCMAKE_BUILD_TYPE=Release -DKV390_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix" > /dev/null
  cmake --build "$build/build" -j"$(nproc)"
  cmake --install "$build/build" > /dev/null
  rm -rf "$build"
fi
)sh";

// Grades one submission folder into a results file; $1 the exercise, $2 the
// submission, $3 the results file, $4 which of kv390-grade's files it is.
const char* const GRADE_ONE_SH = R"sh(#!/bin/sh
# Grades one submission with kv390-grade and puts the platform's results file
# in place.  Whatever fails, a results file says what, as one line.
set -u
exercise=$1 submission=$2 results=$3 kind=$4
prefix=${KV390_PREFIX:-/usr/local}
work=$(mktemp -d)
mkdir -p "$(dirname "$results")"
mkdir -p "$work/submission"
cp -R "$submission"/. "$work/submission/"
grade() {
  "$prefix/bin/kv390-grade" "$exercise" "$work/submission" --out "$work/out" "$@" 2> "$work/errors"
}
# Each submission has a container of its own; where bubblewrap cannot make a
# sandbox inside it, the container is the sandbox.
grade
status=$?
if [ "$status" -eq 2 ] && grep -q "cannot sandbox" "$work/errors"; then
  grade --no-sandbox
  status=$?
fi
if [ "$status" -eq 0 ]; then
  cp "$work/out/submission/$kind" "$results"
else
  message=$(tail -n 1 "$work/errors" | sed 's/\\/\\\\/g; s/"/\\"/g')
  if [ "$kind" = results.json ]; then
    printf '{"score": 0, "output": "%s", "tests": []}\n' "$message" > "$results"
  else
    printf '{"gradable": false, "score": 0, "message": "%s", "tests": []}\n' "$message" > "$results"
  fi
fi
rm -rf "$work"
)sh";

const char* const RUN_AUTOGRADER = R"sh(#!/bin/sh
# Gradescope: grades /autograder/submission into /autograder/results/results.json.
root=${KV390_PLATFORM_ROOT:-/autograder}
here=$root/source
exec sh "$here/grade_one.sh" "$here/exercise/exercise.toml" "$root/submission" \
  "$root/results/results.json" results.json
)sh";

const char* const PL_RUN_SH = R"sh(#!/bin/sh
# PrairieLearn: grades /grade/student into /grade/results/results.json.
root=${KV390_PLATFORM_ROOT:-/grade}
here=$root/tests
prefix=${KV390_PREFIX:-/usr/local}
[ -x "$prefix/bin/kv390-grade" ] || sh "$here/setup.sh" > /dev/null
exec sh "$here/grade_one.sh" "$here/exercise/exercise.toml" "$root/student" \
  "$root/results/results.json" pl-results.json
)sh";

const char* const PL_INFO = R"({
  "externalGradingOptions": {
    "enabled": true,
    "image": "prairielearn/grader-c",
    "entrypoint": "/grade/tests/run.sh",
    "timeout": 300
  }
}
)";

bool write_file(const fs::path& path, const std::string& text, bool executable,
                std::string* error) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    std::error_code ec;
    if (executable)
        fs::permissions(path,
                        fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add, ec);
    if (!out || ec) *error = "cannot write " + path.string();
    return out && !ec;
}

bool run(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
         const std::string& what, std::string* error) {
    kv390::tools::SpawnRequest request;
    request.program = program;
    request.args = args;
    request.cwd = cwd;
    kv390::tools::Process child;
    kv390::tools::ExitStatus status;
    if (!child.start(request, error)) return false;
    child.wait_for(UINT64_MAX, &status);
    if (status.signalled || status.code != 0) *error = "cannot " + what;
    return !status.signalled && status.code == 0;
}

// The exercise, its reference and scripts copied into folder, the file
// rewritten to name the copies.
bool copy_exercise(const Exercise& exercise, const fs::path& folder, std::string* error) {
    std::error_code ec;
    fs::create_directories(folder / "scripts", ec);
    toml::table root;
    try {
        root = toml::parse_file(exercise.path);
    } catch (const toml::parse_error& e) {
        *error = exercise.path + ": " + std::string(e.description());
        return false;
    }
    const std::string reference = "reference-" + fs::path(exercise.reference).filename().string();
    fs::copy(exercise.reference, folder / reference, fs::copy_options::recursive, ec);
    root.insert_or_assign("reference", reference);
    toml::array* tests = root["test"].as_array();
    for (std::size_t i = 0; tests != nullptr && i < tests->size(); ++i) {
        const TestSpec& spec = exercise.tests[i];
        if (spec.script.empty()) continue;
        const std::string name =
            "scripts/" + std::to_string(i + 1) + "-" + fs::path(spec.script).filename().string();
        fs::copy_file(spec.script, folder / name, ec);
        tests->get(i)->as_table()->insert_or_assign("script", name);
    }
    if (ec) {
        *error = "cannot copy the exercise's files: " + ec.message();
        return false;
    }
    std::ostringstream text;
    text << toml::toml_formatter(root) << "\n";
    return write_file(folder / "exercise.toml", text.str(), false, error);
}

bool source_archive(const std::string& source, const fs::path& archive, std::string* error) {
    return run("/bin/tar",
               {"-C", source, "--exclude=./build*", "--exclude=.git", "--exclude=node_modules",
                "--exclude=./out", "-czf", archive.string(), "."},
               "", "pack the KV390 sources of " + source, error);
}

bool common_files(const Exercise& exercise, const std::string& source, const fs::path& folder,
                  std::string* error) {
    return copy_exercise(exercise, folder / "exercise", error) &&
           source_archive(source, folder / "kv390-source.tar.gz", error) &&
           write_file(folder / "setup.sh", SETUP_SH, true, error) &&
           write_file(folder / "grade_one.sh", GRADE_ONE_SH, true, error);
}

}  // namespace

bool pack_gradescope(const Exercise& exercise, const std::string& kv390_source,
                     const std::string& zip_path, std::string* error) {
    kv390::tools::TempDir staging;
    if (!staging.create("kv390-pack-", error)) return false;
    const fs::path folder = staging.path();
    if (!common_files(exercise, kv390_source, folder, error) ||
        !write_file(folder / "run_autograder", RUN_AUTOGRADER, true, error))
        return false;
    const std::string zip = fs::absolute(zip_path).string();
    const std::string partial = zip + ".partial";
    std::error_code ec;
    fs::remove(partial, ec);
    if (!run("/usr/bin/zip", {"-q", "-r", partial, "."}, folder.string(),
             "write " + zip + " (is zip installed?)", error))
        return false;
    fs::rename(partial, zip, ec);
    if (ec) *error = "cannot write " + zip + ": " + ec.message();
    return !ec;
}

bool pack_prairielearn(const Exercise& exercise, const std::string& kv390_source,
                       const std::string& out_dir, std::string* error) {
    const fs::path out = fs::absolute(out_dir);
    const fs::path partial = out.string() + ".partial";
    std::error_code ec;
    fs::remove_all(partial, ec);
    fs::create_directories(partial / "tests", ec);
    if (ec || !common_files(exercise, kv390_source, partial / "tests", error) ||
        !write_file(partial / "tests" / "run.sh", PL_RUN_SH, true, error) ||
        !write_file(partial / "info-external-grading.json", PL_INFO, false, error)) {
        if (error->empty()) *error = "cannot make " + partial.string();
        fs::remove_all(partial, ec);
        return false;
    }
    fs::remove_all(out, ec);
    fs::rename(partial, out, ec);
    if (ec) *error = "cannot write " + out.string() + ": " + ec.message();
    return !ec;
}

}  // namespace grade
