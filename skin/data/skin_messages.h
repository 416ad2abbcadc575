// Window messages the skin data sends to the application's forms. The first parameter is
// the sending TksSkinData (or null for all), the second kSkinMessageTag.
#pragma once

#include "platform/windef.h"

constexpr UINT WM_BEFORECHANGESKINDATA = 0x0400 + 201;
constexpr UINT WM_CHANGESKINDATA = 0x0400 + 202;
constexpr UINT WM_AFTERCHANGESKINDATA = 0x0400 + 203;
constexpr UINT WM_CHANGERESSTRDATA = 0x0400 + 250;
constexpr UINT WM_CHANGEFORMSKINNABLE = 0x0400 + 270;
constexpr UINT WM_CHANGELAYEREDBORDERS = 0x0400 + 403;
constexpr UINT WM_CHANGEAEROBLUR = 0x0400 + 404;

constexpr LPARAM kSkinMessageTag = 1000;
