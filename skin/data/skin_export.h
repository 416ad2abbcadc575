// The reverse of the import: a package's pictures as bitmap files and its description text,
// so that importing the written description rebuilds the same package.
#pragma once

#include "skin/data/skin_package.h"

// Writes every picture under the file name the description's [PICTURES] gives it and the
// description as descriptionName, all into directory (made, with its parents, when it does
// not exist yet). A picture name that is empty or would leave the directory, or one name
// used for two different images, raises EInvalidArgument before anything is written.
void ExportSkinPackage(const TksSkinPackage& package, const AnsiString& directory,
                       const AnsiString& descriptionName);
