// Messages about failures outside the simulation, in Portuguese.
#pragma once

#include <string>

namespace mlfq {

// What an errno value means ("arquivo ou diretorio inexistente", ...).
std::string system_error_text(int error_number);

// Writes "mlfq: <text>\n" on standard error, control characters escaped.
void print_error(const std::string& text);

} // namespace mlfq
