#include "util/system_error.h"

#include "util/byte_text.h"
#include "util/text_format.h"

#include <cerrno>
#include <cstdio>

namespace mlfq {

std::string system_error_text(int error_number) {
    switch (error_number) {
    case ENOENT:
        return "arquivo ou diretorio inexistente";
    case EACCES:
    case EPERM:
        return "permissao negada";
    case EISDIR:
        return "e uma pasta";
    case ENOTDIR:
        return "um componente do caminho nao e um diretorio";
    case ENAMETOOLONG:
        return "nome de arquivo longo demais";
    case ELOOP:
        return "links simbolicos demais";
    case EROFS:
        return "sistema de arquivos somente para leitura";
    case ENOSPC:
        return "nao ha espaco no dispositivo";
    case EDQUOT:
        return "cota de disco excedida";
    case EFBIG:
        return "arquivo grande demais";
    case EIO:
        return "erro de entrada e saida";
    case ENXIO:
    case ENODEV:
        return "dispositivo inexistente";
    case EMFILE:
    case ENFILE:
        return "arquivos abertos demais";
    case ENOMEM:
        return "sem memoria";
    case EBUSY:
        return "dispositivo ou recurso ocupado";
    case EPIPE:
        return "quem lia a saida ja a fechou (pipe quebrado)";
    case EBADF:
        return "a saida nao esta aberta (descritor de arquivo invalido)";
    case EINVAL:
        return "argumento invalido";
    default:
        return format_text("erro do sistema %d", error_number);
    }
}

void print_error(const std::string& text) {
    std::fprintf(stderr, "mlfq: %s\n", printable_text(text).c_str());
}

} // namespace mlfq
