// Texts spelled out letter by letter.
#pragma once

void SpellSearchTerm();
void SpellFileName();
