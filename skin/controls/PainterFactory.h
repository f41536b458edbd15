#pragma once
// The one place where control discovery turns a painter request into a
// painter object.
#include <functional>

#include "skin/controls/PainterKind.h"

class TComponent;
class TSkinControl;

// A painter of the requested kind, owned by owner (the painted control, or
// the skinned form's owner of plain-window painters), its Mode set; nullptr
// when that kind has no painter class.
TSkinControl* MakePainter(const TPainterRequest& request, TComponent& owner);

// Replaces the painter class of one kind (an empty maker restores the
// built-in one). Tests use it to watch discovery attach painters.
using TPainterMaker = std::function<TSkinControl*(const TPainterRequest& request, TComponent& owner)>;
void SetPainterMaker(TPainterKind kind, TPainterMaker maker);
