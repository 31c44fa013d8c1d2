// The suite at work under Wine: each section drives a deliverable through its exports.
#include "demo/demo_library.h"

int main()
{
    bool ok = true;
    ok = demo::RunCipherDemo() && ok;
    ok = demo::RunLanguageDemo() && ok;
    ok = demo::RunProcessDemo() && ok;
    ok = demo::RunShredDemo() && ok;
    ok = demo::RunUpdateDemo() && ok;
    std::printf("%s\n", ok ? "demo finished" : "demo failed");
    return ok ? 0 : 1;
}
