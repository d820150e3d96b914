// The selected file as a file drop, or the whole result list, on the clipboard.
#pragma once

void CopySelectedFile();
void CopyResultList();
