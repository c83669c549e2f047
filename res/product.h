// Texts of the maker that both the resources and the program show. Plain
// ASCII, so the resource script and the program's GBK text agree on them.
#pragma once

// The maker's home page: shown in the About box, opened on leaving.
#define QUENDRIL_HOME_PAGE "https://quendril.example/"

#define QUENDRIL_COPYRIGHT "Copyright (C) 2026 Quendril"
