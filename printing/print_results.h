// The names of the result list on the default printer.
#pragma once

void PrintResultList();
