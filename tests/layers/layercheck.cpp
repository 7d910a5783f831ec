#include "layers/layercheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <functional>

namespace layercheck {

namespace {

const struct
{
    const char *folder;
    int layer;
} kLayers[] = {
    {"platform", 0}, {"log4qt", 0}, {"helper", 1}, {"servermanager", 2},
    {"dataproc", 2}, {"tool", 2},   {"Form", 3},   {"src", 4},
};

const QStringList kSourceSuffixes{QStringLiteral("h"),  QStringLiteral("hpp"), QStringLiteral("cpp"),
                                  QStringLiteral("cc"), QStringLiteral("cxx"), QStringLiteral("c")};

struct Include
{
    QString file;
    int line = 0;
    QString text;
    QString target;       // the included file's component, when it is one of ours
    QString targetFolder; // its folder
};

bool isSource(const QString &path)
{
    return kSourceSuffixes.contains(QFileInfo(path).suffix());
}

// A header and its source are one unit: "helper/session.h" and
// "helper/session.cpp" are both "helper/session".
QString componentOf(const QString &relativePath)
{
    const int dot = relativePath.lastIndexOf(QLatin1Char('.'));
    const int slash = relativePath.lastIndexOf(QLatin1Char('/'));
    return dot > slash ? relativePath.left(dot) : relativePath;
}

QString firstSegment(const QString &path)
{
    return path.section(QLatin1Char('/'), 0, 0);
}

bool isInsideLayers(const QString &relativePath)
{
    return layerOf(folderOf(relativePath)) >= 0;
}

// Every file under the root, build trees and hidden folders aside, with "/"
// separators relative to the root. Links are not followed: a link out of the
// tree is not our source.
void collect(const QDir &dir, const QString &prefix, QStringList *files)
{
    if (!prefix.isEmpty() && dir.exists(QStringLiteral("CMakeCache.txt")))
        return;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.fileName().startsWith(QLatin1Char('.')))
            continue;
        const QString relative = prefix + entry.fileName();
        if (entry.isDir())
            collect(QDir(entry.filePath()), relative + QLatin1Char('/'), files);
        else
            files->append(relative);
    }
}

int lineCount(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return 0;
    return bytes.count('\n') + (bytes.endsWith('\n') ? 0 : 1);
}

class Checker
{
public:
    Checker(const QString &root, const Options &options)
        : m_root(root)
        , m_options(options)
    {
    }

    Result run();

private:
    void readIncludes(const QString &file);
    bool resolve(const QString &file, const QString &text, Include *include) const;
    void checkDirection(const Include &include);
    void checkCircles();
    void checkSizes();

    QDir m_root;
    Options m_options;
    QStringList m_files;
    QSet<QString> m_fileSet;
    QSet<QString> m_topFolders;
    QSet<QString> m_components;
    // Designer forms by base name: "ui_prompt.h" is generated from the
    // folder of "prompt.ui" and belongs to it.
    QHash<QString, QStringList> m_forms;
    QList<Include> m_includes;
    Result m_result;
};

Result Checker::run()
{
    collect(m_root, QString(), &m_files);
    for (const QString &file : qAsConst(m_files)) {
        m_fileSet.insert(file);
        if (file.contains(QLatin1Char('/')))
            m_topFolders.insert(firstSegment(file));
        if (!isInsideLayers(file))
            continue;
        if (file.endsWith(QLatin1String(".ui")))
            m_forms[QFileInfo(file).completeBaseName()].append(file);
        if (isSource(file))
            m_components.insert(componentOf(file));
    }
    for (const QString &file : qAsConst(m_files)) {
        if (isInsideLayers(file) && isSource(file))
            readIncludes(file);
    }
    for (const Include &include : qAsConst(m_includes))
        checkDirection(include);
    checkCircles();
    checkSizes();
    // In the order of the tree, as a compiler would report them.
    std::stable_sort(m_result.findings.begin(), m_result.findings.end(), [](const Finding &a, const Finding &b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
    return m_result;
}

void Checker::readIncludes(const QString &file)
{
    QFile source(m_root.filePath(file));
    if (!source.open(QIODevice::ReadOnly)) {
        m_result.findings.append({file, 1, QStringLiteral("cannot be read")});
        return;
    }
    static const QRegularExpression directive(QStringLiteral("^\\s*#\\s*include\\s*[\"<]([^\">]+)[\">]"));
    const QList<QByteArray> lines = source.readAll().split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QRegularExpressionMatch match = directive.match(QString::fromUtf8(lines.at(i)));
        if (!match.hasMatch())
            continue;
        Include include;
        include.file = file;
        include.line = i + 1;
        include.text = match.captured(1).trimmed();
        if (resolve(file, include.text, &include))
            m_includes.append(include);
    }
}

// Which of our files an include names, if any. Paths are taken from the
// root, as the build's include path has it; "./" and "../" from the file's
// own folder; a bare name is a neighbour in the same folder or a generated
// form header.
bool Checker::resolve(const QString &file, const QString &text, Include *include) const
{
    const QString fileFolder = QFileInfo(file).path();
    QString path;
    if (text.startsWith(QLatin1Char('.'))) {
        path = QDir::cleanPath(fileFolder + QLatin1Char('/') + text);
        if (path.startsWith(QLatin1String("..")))
            return false;
    } else if (text.contains(QLatin1Char('/'))) {
        path = QDir::cleanPath(text);
    } else {
        static const QRegularExpression form(QStringLiteral("^ui_(.+)\\.h$"));
        const QRegularExpressionMatch match = form.match(text);
        if (match.hasMatch()) {
            QStringList candidates = m_forms.value(match.captured(1));
            if (candidates.isEmpty())
                return false;
            std::sort(candidates.begin(), candidates.end());
            const QString own = fileFolder + QLatin1Char('/') + match.captured(1) + QStringLiteral(".ui");
            const QString chosen = candidates.contains(own) ? own : candidates.first();
            include->target = componentOf(chosen);
            include->targetFolder = folderOf(chosen);
            return true;
        }
        path = fileFolder + QLatin1Char('/') + text;
        if (!m_fileSet.contains(path))
            return false;
    }
    if (!path.contains(QLatin1Char('/')) || !m_topFolders.contains(firstSegment(path)))
        return false;
    include->target = componentOf(path);
    include->targetFolder = folderOf(path);
    return true;
}

void Checker::checkDirection(const Include &include)
{
    const QString from = folderOf(include.file);
    const QString to = include.targetFolder;
    if (from == to)
        return;
    const int fromLayer = layerOf(from);
    const int toLayer = layerOf(to);
    QString problem;
    if (toLayer < 0)
        problem = QStringLiteral("%1 lies outside the layers").arg(to);
    else if (from.startsWith(QLatin1String("Form/")) && to.startsWith(QLatin1String("Form/")))
        return;
    else if (toLayer > fromLayer)
        problem = QStringLiteral("%1 lies above %2").arg(to, from);
    else if (toLayer == fromLayer)
        problem = QStringLiteral("%1 lies beside %2 in the same layer").arg(to, from);
    else
        return;
    m_result.findings.append({include.file, include.line,
                              QStringLiteral("includes \"%1\": %2; give %3 a callback or interface "
                                             "that the upper layer installs, or move the code")
                                  .arg(include.text, problem, from)});
}

// Strongly connected components of the include graph (Tarjan's algorithm):
// every unit of one component reaches every other, so a component that
// holds units of two folders is an include circle through both.
void Checker::checkCircles()
{
    QHash<QString, QList<int>> edges; // component -> indexes into m_includes
    for (int i = 0; i < m_includes.size(); ++i) {
        const Include &include = m_includes.at(i);
        if (m_components.contains(include.target))
            edges[componentOf(include.file)].append(i);
    }

    QHash<QString, int> index;
    QHash<QString, int> low;
    QSet<QString> onStack;
    QStringList stack;
    QList<QStringList> circles;
    int next = 0;

    std::function<void(const QString &)> visit = [&](const QString &node) {
        index[node] = low[node] = next++;
        stack.append(node);
        onStack.insert(node);
        for (int edge : edges.value(node)) {
            const QString target = m_includes.at(edge).target;
            if (!index.contains(target)) {
                visit(target);
                low[node] = qMin(low[node], low[target]);
            } else if (onStack.contains(target)) {
                low[node] = qMin(low[node], index[target]);
            }
        }
        if (low[node] != index[node])
            return;
        QStringList members;
        QString member;
        do {
            member = stack.takeLast();
            onStack.remove(member);
            members.append(member);
        } while (member != node);
        circles.append(members);
    };

    QStringList nodes = m_components.values();
    std::sort(nodes.begin(), nodes.end());
    for (const QString &node : qAsConst(nodes)) {
        if (!index.contains(node))
            visit(node);
    }

    for (QStringList members : qAsConst(circles)) {
        QSet<QString> folders;
        for (const QString &member : qAsConst(members))
            folders.insert(folderOf(member));
        if (folders.size() < 2)
            continue;
        std::sort(members.begin(), members.end());
        QStringList folderNames = folders.values();
        std::sort(folderNames.begin(), folderNames.end());
        const QSet<QString> memberSet(members.begin(), members.end());
        // Each include that crosses a folder inside the circle is a place
        // where it can be cut.
        for (const QString &member : qAsConst(members)) {
            for (int edge : edges.value(member)) {
                const Include &include = m_includes.at(edge);
                if (!memberSet.contains(include.target) || include.targetFolder == folderOf(member))
                    continue;
                m_result.findings.append(
                    {include.file, include.line,
                     QStringLiteral("includes \"%1\", part of an include circle of %2 units across %3: %4")
                         .arg(include.text)
                         .arg(members.size())
                         .arg(folderNames.join(QStringLiteral(", ")), members.join(QStringLiteral(" ")))});
            }
        }
    }
}

void Checker::checkSizes()
{
    QSet<QString> allowed(m_options.sizeAllowList.begin(), m_options.sizeAllowList.end());
    QSet<QString> used;
    for (const QString &file : qAsConst(m_files)) {
        if (!isSource(file) || firstSegment(file) == QLatin1String("tests"))
            continue;
        QFile source(m_root.filePath(file));
        if (!source.open(QIODevice::ReadOnly)) {
            m_result.findings.append({file, 1, QStringLiteral("cannot be read")});
            continue;
        }
        const int lines = lineCount(source.readAll());
        if (lines <= m_options.maxLines)
            continue;
        if (allowed.contains(file)) {
            used.insert(file);
            continue;
        }
        m_result.findings.append({file, m_options.maxLines + 1,
                                  QStringLiteral("%1 lines, more than %2: split it by job")
                                      .arg(lines)
                                      .arg(m_options.maxLines)});
    }
    for (const QString &entry : qAsConst(m_options.sizeAllowList)) {
        if (!used.contains(entry))
            m_result.unusedAllowances.append(entry);
    }
}

} // namespace

QString Finding::text() const
{
    return QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message);
}

int layerOf(const QString &folder)
{
    const QString top = firstSegment(folder);
    for (const auto &entry : kLayers) {
        if (top == QLatin1String(entry.folder))
            return entry.layer;
    }
    return -1;
}

QString folderOf(const QString &relativePath)
{
    const QStringList parts = relativePath.split(QLatin1Char('/'));
    if (parts.size() >= 3 && parts.first() == QLatin1String("Form"))
        return parts.at(0) + QLatin1Char('/') + parts.at(1);
    return parts.first();
}

Result check(const QString &root, const Options &options)
{
    return Checker(root, options).run();
}

} // namespace layercheck
