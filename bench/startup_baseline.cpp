// An empty program that loads the libraries listed in a file (one name a line) and exits: the
// baseline of the setup's start-up benchmark.
#include <windows.h>

#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    std::ifstream names(argv[1]);
    std::string name;
    while (std::getline(names, name)) {
        if (!name.empty() && name.back() == '\r')
            name.pop_back();
        if (!name.empty())
            ::LoadLibraryA(name.c_str());
    }
    return 0;
}
