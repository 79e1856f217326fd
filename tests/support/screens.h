// Texts of the program's screens, as the end-to-end tests read them.
#pragma once

#include <sstream>
#include <string>

namespace mlfq::testing {

inline const std::string menu_tail = " 5 - Processos em IO\n c - CPU \n";
inline const std::string tab_prompt = "\n Pressione TAB para continuar ";

inline std::string status_screen(long long clock, int quantum, long long slice, long long average) {
    std::ostringstream s;
    s << "<clr>\n                Multiplas filas com realimentacao \n"
      << " Tempo TOTAL           : " << clock << "\n"
      << " QUANTUM               : " << quantum << " \n"
      << " SLICE restante        : " << slice << " \n"
      << " Tempo medio de Espera : " << average << " \n"
      << " ESQ - Sai\n                \n 1 - Fila de nao disparados\n 2 - Executando na CPU \n"
      << " 3 - Fila de Prontos\n 4 - Processos ja terminados\n"
      << menu_tail;
    return s.str();
}

} // namespace mlfq::testing
