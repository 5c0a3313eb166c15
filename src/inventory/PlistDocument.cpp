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
    auto tree = std::make_shared<PlistTree>();
    tree->file = std::make_unique<QFile>(path);
    if (!tree->file->open(QIODevice::ReadOnly) || tree->file->size() == 0)
        return PlistDocument();
    // Mapped rather than read: the texts stay slices of the file, and nothing is copied.
    if (const uchar *mapped = tree->file->map(0, tree->file->size())) {
        tree->source = reinterpret_cast<const char *>(mapped);
        tree->size = std::size_t(tree->file->size());
    } else {
        tree->buffer = tree->file->readAll();
        tree->source = tree->buffer.constData();
        tree->size = std::size_t(tree->buffer.size());
    }
    PlistDocument document;
    document.m_tree = parsed(std::move(tree));
    return document;
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
