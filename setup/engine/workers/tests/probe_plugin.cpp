// A setup plug-in of the tests' own. Its parameter text chooses what it does:
//   "echo"         gives the variables back with PROBE=seen added
//   "remove:NAME"  gives them back without NAME
//   "fail"         fails (-1)
//   "empty"        gives back nothing
//   "overrun"      announces 4 characters and writes 40
//   "progress"     reports 50 % "half way", then echoes
//   "until-cancel" reports progress until the engine answers false, then echoes
//   "save:PATH"    writes the variables it was given to PATH, then echoes
#include <windows.h>

#include <cstring>
#include <string>

#include "core/unique_handle.h"

namespace {

using Progress = BOOL(WINAPI*)(int, const char*);

std::string Answer(const std::string& variables, const std::string& parameters, Progress progress)
{
    if (parameters == "echo" || parameters == "progress" || parameters == "until-cancel") {
        if (parameters == "progress")
            progress(50, "half way");
        if (parameters == "until-cancel")
            for (int i = 0; i < 10000 && progress(1, "waiting"); ++i)
                ::Sleep(1);
        return variables + (variables.empty() ? "" : ",") + "PROBE,seen";
    }
    if (parameters.rfind("save:", 0) == 0) {
        const core::UniqueFile file(::CreateFileA(parameters.substr(5).c_str(), GENERIC_WRITE, 0,
                                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                  nullptr));
        DWORD written = 0;
        if (file)
            ::WriteFile(file.Get(), variables.data(), static_cast<DWORD>(variables.size()),
                        &written, nullptr);
        return variables;
    }
    if (parameters.rfind("remove:", 0) == 0) {
        // Comma text of plain names and values: drop the pair whose name matches.
        const std::string name = parameters.substr(7);
        std::string out;
        size_t start = 0;
        bool isName = true;
        bool skip = false;
        while (start <= variables.size()) {
            size_t comma = variables.find(',', start);
            if (comma == std::string::npos)
                comma = variables.size();
            const std::string item = variables.substr(start, comma - start);
            if (isName)
                skip = item == name;
            if (!skip)
                out += (out.empty() ? "" : ",") + item;
            isName = !isName;
            start = comma + 1;
        }
        return out;
    }
    return {};
}

}  // namespace

extern "C" __declspec(dllexport) int WINAPI
    RunTimeExecute(HWND, const char* variables, const char* parameters, Progress progress, int*,
                   char* output)
{
    const std::string request = parameters ? parameters : "";
    if (request == "fail")
        return -1;
    if (request == "overrun") {
        if (output)
            std::memcpy(output, "0123456789012345678901234567890123456789", 41);
        return 4;
    }
    const std::string answer = Answer(variables ? variables : "", request, progress);
    if (output)
        std::memcpy(output, answer.c_str(), answer.size() + 1);
    return static_cast<int>(answer.size());
}
