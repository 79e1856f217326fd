#include "util/write_all.h"

#include "util/exit_status.h"
#include "util/system_error.h"

#include <cerrno>
#include <unistd.h>

namespace mlfq {

int write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int write_standard_output(std::string_view text) {
    if (const int error = write_all(STDOUT_FILENO, text)) {
        print_error("erro ao escrever na saida padrao: " + system_error_text(error));
        return exit_write_failed;
    }
    return exit_ok;
}

} // namespace mlfq
