// One download through the HTTP client on this thread's message loop; prints the bytes and the
// rate. Usage: net_download_bench <url>
#include <windows.h>

#include <cstdio>
#include <string>

#include "setup/media/net/http_client_win32.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: net_download_bench <url>\n");
        return 2;
    }
    try {
        net::HttpClientWin32 http;
        long long received = 0;
        http.Client().onDocData = [&received](std::string_view bytes) {
            received += static_cast<long long>(bytes.size());
        };
        http.Client().settings.url = argv[1];
        LARGE_INTEGER frequency, start, end;
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&start);
        http.RequestSync(net::HttpRequestKind::Get, 600000);
        ::QueryPerformanceCounter(&end);
        const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                               static_cast<double>(frequency.QuadPart);
        std::printf("HTTP client (Wine): %lld bytes, %.1f MiB/s\n", received,
                    static_cast<double>(received) / 1048576.0 / seconds);
        return received > 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "net_download_bench: %s\n", e.what());
        return 1;
    }
}
