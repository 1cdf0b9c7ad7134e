// The exercise as JSON for the playground's Check button.
#include "export_json.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "kv390/constants.h"
#include "text_file.h"

namespace grade {

bool exercise_json(const Exercise& exercise, std::string* json, std::string* error) {
    nlohmann::json tests = nlohmann::json::array();
    for (const TestSpec& test : exercise.tests) {
        nlohmann::json script = nullptr;
        std::string program_input;
        if (!test.script.empty()) {
            std::string text;
            if (!kv390::tools::read_file(test.script, "the script", &text, error)) {
                *error += " (test \"" + test.name + "\")";
                return false;
            }
            script = text;
            // The program's first wait starts the playback, as kv390-run starts it.
            program_input = "at 0 menu " + std::to_string(KV390_IDM_PLAYBACK) + "\n";
        }
        if (!test.input.empty()) program_input += test.input + "\n";
        tests.push_back({{"name", test.name},
                         {"file_name", test.file_name},
                         {"points", test.points},
                         {"timeout", test.timeout_s},
                         {"tolerance", test.tolerance},
                         {"picture", test.picture},
                         {"log_has", test.log_has},
                         {"log_lacks", test.log_lacks},
                         {"input", test.input},
                         {"program_input", program_input},
                         {"script", script}});
    }
    const nlohmann::json result = {{"title", exercise.title}, {"tests", tests}};
    *json = result.dump(1) + "\n";
    return true;
}

}  // namespace grade
