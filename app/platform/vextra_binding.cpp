// Loading Vextra by name and calling its exports with owned arrays.
#include "platform/vextra_binding.h"

#include "platform/program_folder.h"
#include "platform/text_codec.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace orv {

namespace {

constexpr qsizetype kTitleLength = 260;
const QString kErrorTitle = QStringLiteral("Bibliothèque Vextra");

QString lastDlError()
{
    const char *error = dlerror();
    return error ? decodeText(QByteArray(error)) : QString();
}

QString missingLibraryText(const QString &where, const QString &detail)
{
    return QStringLiteral("La bibliothèque Vextra (%1) est introuvable ou ne peut pas être chargée.\r\n%2\r\n"
                          "Orvalis ne peut pas fonctionner sans elle.")
        .arg(where, detail);
}

template <typename F> bool resolve(void *handle, const char *name, F &target, QStringList &missing)
{
    target = reinterpret_cast<F>(dlsym(handle, name));
    if (!target)
        missing << QString::fromLatin1(name);
    return target != nullptr;
}

void *openFile(const QString &path, QString &error)
{
    void *handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle && error.isEmpty())
        error = lastDlError();
    return handle;
}

} // namespace

VextraLibrary &VextraLibrary::shared()
{
    static VextraLibrary *const library = [] {
        auto *lib = new VextraLibrary;
        QString error;
        const QString beside = executableFolder() + u'/' + QString::fromLatin1(kFileName);
        QString where = beside;
        void *handle = QFileInfo::exists(beside) ? openFile(beside, error) : nullptr;
        if (!handle) {
            where = QString::fromLatin1(kFileName);
            handle = openFile(where, error);
        }
        if (!handle)
            lib->m_error = missingLibraryText(QString::fromLatin1(kFileName), error);
        else
            lib->bind(handle, where);
        return lib;
    }();
    return *library;
}

std::unique_ptr<VextraLibrary> VextraLibrary::open(const QString &path)
{
    std::unique_ptr<VextraLibrary> lib(new VextraLibrary);
    QString error;
    void *handle = openFile(path, error);
    if (!handle)
        lib->m_error = missingLibraryText(path, error);
    else
        lib->bind(handle, path);
    return lib;
}

bool VextraLibrary::bind(void *handle, const QString &where)
{
    m_handle = handle;
    QStringList missing;
    resolve(handle, "Version", m_version, missing);
    resolve(handle, "LireFichier", m_lireFichier, missing);
    resolve(handle, "EcrireFichier", m_ecrireFichier, missing);
    resolve(handle, "EcrireFichier3D", m_ecrireFichier3D, missing);
    resolve(handle, "LissageSequence", m_lissageSequence, missing);
    resolve(handle, "VxArrayCreate", m_arrayCreate, missing);
    resolve(handle, "VxArrayDestroy", m_arrayDestroy, missing);
    m_loaded = missing.isEmpty();
    m_ecrireGCode = reinterpret_cast<decltype(m_ecrireGCode)>(dlsym(handle, "EcrireGCode"));
    if (!m_loaded)
        m_error =
            QStringLiteral("La bibliothèque Vextra (%1) ne contient pas %2 « %3 ».\r\n"
                           "Orvalis ne peut pas fonctionner sans elle.")
                .arg(where,
                     missing.size() == 1 ? QStringLiteral("la fonction") : QStringLiteral("les fonctions"),
                     missing.join(QStringLiteral(" », « ")));
    return m_loaded;
}

VextraLibrary::~VextraLibrary()
{
    if (m_handle)
        dlclose(m_handle);
}

Notice VextraLibrary::errorNotice() const
{
    return critical(m_error.toStdString(), kErrorTitle.toStdString());
}

int32_t VextraLibrary::version() const
{
    return m_loaded ? m_version() : kVextraUnavailable;
}

int32_t VextraLibrary::lireFichier(const QString &path, QString &title, ContourArray &points,
                                   Bounds &bounds) const
{
    if (!m_loaded)
        return kVextraUnavailable;
    QByteArray name = QFile::encodeName(path);
    QByteArray buffer = encodeText(title);
    if (buffer.size() < kTitleLength)
        buffer.append(kTitleLength - buffer.size(), ' ');
    char *namePtr = name.data();
    char *titlePtr = buffer.data();
    const int32_t result = m_lireFichier(points.ref(), &namePtr, &bounds.xMin, &bounds.xMax, &bounds.yMin,
                                         &bounds.yMax, &titlePtr);
    title = decodeTitle(buffer);
    return result;
}

int32_t VextraLibrary::ecrireFichier(ContourArray &points, const QString &path, const QString &title) const
{
    if (!m_loaded)
        return kVextraUnavailable;
    QByteArray name = QFile::encodeName(path);
    QByteArray text = encodeText(title);
    char *namePtr = name.data();
    char *titlePtr = text.data();
    return m_ecrireFichier(points.ref(), &namePtr, &titlePtr);
}

int32_t VextraLibrary::ecrireFichier3D(ContourArray &first, ContourArray &second, const QString &path,
                                       float span) const
{
    if (!m_loaded)
        return kVextraUnavailable;
    QByteArray name = QFile::encodeName(path);
    char *namePtr = name.data();
    return m_ecrireFichier3D(first.ref(), second.ref(), &namePtr, &span);
}

int32_t VextraLibrary::lissageSequence(std::vector<ContourPoint> &points) const
{
    if (!m_loaded)
        return kVextraUnavailable;
    ContourArray array(*this);
    if (!array.replace(points))
        return VX_ERR_MEMORY;
    const int32_t result = m_lissageSequence(array.ref());
    if (result >= 0)
        points.assign(array.elements().begin(), array.elements().end());
    return result;
}

int32_t VextraLibrary::ecrireGCode(ContourArray &root, ContourArray &tip, const QString &path,
                                   const VxMachine &machine) const
{
    if (!hasGCode())
        return kVextraUnavailable;
    QByteArray name = QFile::encodeName(path);
    char *namePtr = name.data();
    return m_ecrireGCode(root.ref(), tip.ref(), &namePtr, &machine);
}

} // namespace orv
