// The type keyword tables of [SKINCONTROLS] and [SKINOBJECTS].
#pragma once

#include <memory>

#include "skin/data/control_records.h"
#include "skin/data/object_records.h"

// Null for a type that is not in the table (compared exactly, letter case significant).
std::unique_ptr<TksDataSkinControl> CreateControlRecord(const AnsiString& type,
                                                        const AnsiString& name);
std::unique_ptr<TksDataSkinObject> CreateObjectRecord(const AnsiString& type,
                                                      const AnsiString& name);
bool IsControlRecordType(const AnsiString& type);
bool IsObjectRecordType(const AnsiString& type);
