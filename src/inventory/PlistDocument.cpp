#include "PlistDocument.h"

#include "PlistTree.h"

#include <QFile>

namespace {

PlistDocument::Tree parsed(std::shared_ptr<PlistTree> tree)
{
    parsePlist(*tree);
    return tree->nodes.empty() ? nullptr : std::move(tree);
}

} // namespace

PlistDocument PlistDocument::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return PlistDocument();
    // Read, never mapped: another process may truncate the file while it is read, and a mapped page
    // that is gone kills the reader with SIGBUS.
    return fromBytes(file.readAll());
}

PlistDocument PlistDocument::fromBytes(QByteArray bytes)
{
    auto tree = std::make_shared<PlistTree>();
    tree->buffer = std::move(bytes);
    tree->source = tree->buffer.constData();
    tree->size = std::size_t(tree->buffer.size());
    PlistDocument document;
    document.m_tree = parsed(std::move(tree));
    return document;
}

PlistValue PlistDocument::rootValue() const
{
    return m_tree ? PlistValue(m_tree, 0) : PlistValue();
}

PlistValue PlistDocument::root() const
{
    const PlistValue value = rootValue();
    return value.isArray() ? value : PlistValue();
}
