#include "console/wait_for_tab.h"

#include "console/console.h"

namespace mlfq {

void wait_for_tab() {
    write_text("\n Pressione TAB para continuar ");
    while (read_key() != key_tab) {
    }
}

} // namespace mlfq
