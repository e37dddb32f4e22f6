#include "shell/Modules.h"

#include "shell/Paths.h"

#include <QLibrary>

#include <map>
#include <memory>

namespace shell {

void* moduleSymbol(const QString& module, const char* function, QString* why)
{
    static std::map<QString, std::unique_ptr<QLibrary>> loaded;  // by path
    const QString path = modulePath(module);
    std::unique_ptr<QLibrary>& library = loaded[path];
    if (!library) {
        library = std::make_unique<QLibrary>(path);
        library->load();
    }
    if (!library->isLoaded()) {
        if (why)
            *why = QStringLiteral("The program's module %1 could not be loaded: %2")
                       .arg(module, library->errorString());
        return nullptr;
    }
    void* symbol = reinterpret_cast<void*>(library->resolve(function));
    if (!symbol && why)
        *why =
            QStringLiteral("The program's module %1 lacks %2: it belongs to another version of the program.")
                .arg(module, QString::fromLatin1(function));
    return symbol;
}

}  // namespace shell
