#pragma once
// The maker's home page, opened when the learner leaves; the About box shows
// the same address.

#include "product.h"

inline constexpr char kHomePageUrl[] = QUENDRIL_HOME_PAGE;
