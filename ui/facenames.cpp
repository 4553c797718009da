// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/facenames.h"

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <vector>

namespace {

bool HasFamily(FcPattern* pattern, const QByteArray& family)
{
    FcChar8* name = nullptr;
    for (int k = 0; FcPatternGetString(pattern, FC_FAMILY, k, &name) == FcResultMatch; ++k)
        if (std::strcmp(reinterpret_cast<const char*>(name), family.constData()) == 0)
            return true;
    return false;
}

}  // namespace

bool AnswerDesignNameWith(const QString& designName, const QString& standIn)
{
    if (!FcInit())
        return false;
    FcFontSet* fonts = FcConfigGetFonts(FcConfigGetCurrent(), FcSetSystem);
    if (fonts == nullptr)
        return false;
    const QByteArray design = designName.toUtf8();
    const QByteArray face = standIn.toUtf8();

    std::vector<FcPattern*> standIns;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        if (HasFamily(fonts->fonts[i], design))
            return true;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch &&
            std::strcmp(reinterpret_cast<const char*>(family), face.constData()) == 0)
            standIns.push_back(fonts->fonts[i]);
    }
    // The same font files once more, with the design name as a further family
    // name: Qt takes such a name as an alias of the stand-in's family.
    for (FcPattern* pattern : standIns) {
        FcPattern* named = FcPatternDuplicate(pattern);
        if (named == nullptr)
            return false;
        if (!FcPatternAddString(named, FC_FAMILY, reinterpret_cast<const FcChar8*>(design.constData())) ||
            !FcFontSetAdd(fonts, named)) {
            FcPatternDestroy(named);
            return false;
        }
    }
    return !standIns.empty();
}
