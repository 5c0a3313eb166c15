#pragma once

#include "PlistValue.h"

#include <QByteArray>
#include <QString>

#include <memory>

// A parsed system_profiler property list. Anything that is not an XML property list with an array at its
// root reads as an empty list: a missing, empty, truncated or binary file, stray text between elements, a
// key without a value. Nesting of any depth is read without recursion.
class PlistDocument
{
public:
    static PlistDocument fromFile(const QString &path);
    static PlistDocument fromBytes(QByteArray bytes);

    // The root array, or a null value that behaves as an empty list.
    PlistValue root() const;
    // The root of any kind (the system-version file's root is a dictionary).
    PlistValue rootValue() const;
    // The elements of the root list.
    std::vector<PlistValue> rootElements() const { return root().elements(); }
    // Whether the bytes were a property list at all (of any root).
    bool isPropertyList() const { return m_tree != nullptr; }

    using Tree = std::shared_ptr<const PlistTree>;

private:
    Tree m_tree;
};
