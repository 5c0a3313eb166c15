#pragma once

#include "PlistValue.h"

#include <QByteArrayView>
#include <QString>

#include <memory>

// A parsed system_profiler property list. Anything that is not an XML property list with an array at its
// root reads as an empty list: a missing, empty, truncated or binary file, or one nested deeper than any
// real output (the parser's clean-up recurses, and a hostile file must not overflow the stack).
class PlistDocument
{
public:
    static constexpr int kMaxDepth = 256;

    static PlistDocument fromFile(const QString &path);
    static PlistDocument fromBytes(QByteArrayView bytes);

    // The root array, or a null value that behaves as an empty list.
    PlistValue root() const;
    // The elements of the root list.
    std::vector<PlistValue> rootElements() const { return root().elements(); }

private:
    struct Free
    {
        void operator()(void *node) const;
    };
    std::unique_ptr<void, Free> m_root;
};

// How deep <array> and <dict> elements nest in the XML text, counted up to the first level above stopAbove.
int nestingDepth(QByteArrayView xml, int stopAbove);
