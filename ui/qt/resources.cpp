#include "resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be called outside any namespace.
static void InitKorvelResources() {
    Q_INIT_RESOURCE(korvel);
}

namespace korvel::qt {

void InitResources() {
    InitKorvelResources();
}

}  // namespace korvel::qt
