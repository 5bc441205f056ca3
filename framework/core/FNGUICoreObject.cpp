#include "framework/core/FNGUICoreObject.h"

FNGUICoreObject::FNGUICoreObject()
{
    FN_SET_CLASS_NAME(FNGUICoreObject);
}

FNGUICoreObject::~FNGUICoreObject() = default;
