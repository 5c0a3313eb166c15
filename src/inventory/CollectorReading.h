#pragma once

#include "PlistValue.h"

// Item 0 of the first root element whose "_items" list is not empty; null when there is none.
PlistValue firstItemOfFirstNonEmptyElement(const PlistValue &root);
