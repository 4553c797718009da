// SPDX-License-Identifier: GPL-3.0-or-later
// The part's triangle surface as a 3MF package through lib3mf: one mesh object in
// millimetres, one build item, written into memory.
#include "export/profileexport.h"

#include "base/apperror.h"

#include <Model/COM/NMR_DLLInterfaces.h>

#include <memory>

namespace {

using namespace NMR;

struct Release {
    void operator()(PLib3MFBase* p) const { lib3mf_release(p); }
};
using Handle = std::unique_ptr<PLib3MFBase, Release>;

void Check(LIB3MFRESULT result, const char* step)
{
    if (result != LIB3MF_OK)
        throw AppError(std::string("3MF ファイルを作れません (") + step + ")");
}

}  // namespace

std::string Surface3mf(const TriangleSurface& surface, const std::string& title)
{
    PLib3MFModel* model = nullptr;
    Check(lib3mf_createmodel(&model), "model");
    const Handle modelHandle(model);
    Check(lib3mf_model_setunit(model, MODELUNIT_MILLIMETER), "unit");

    PLib3MFModelMeshObject* object = nullptr;
    Check(lib3mf_model_addmeshobject(model, &object), "mesh");
    const Handle objectHandle(object);
    Check(lib3mf_object_setnameutf8(object, title.c_str()), "name");

    std::vector<MODELMESHVERTEX> vertices(surface.vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i)
        for (int k = 0; k < 3; ++k)
            vertices[i].m_fPosition[k] = static_cast<FLOAT>(surface.vertices[i][static_cast<std::size_t>(k)]);
    std::vector<MODELMESHTRIANGLE> triangles(surface.triangles.size());
    for (std::size_t i = 0; i < triangles.size(); ++i)
        for (int k = 0; k < 3; ++k)
            triangles[i].m_nIndices[k] = surface.triangles[i][static_cast<std::size_t>(k)];
    Check(lib3mf_meshobject_setgeometry(object, vertices.data(), static_cast<DWORD>(vertices.size()), triangles.data(),
                                        static_cast<DWORD>(triangles.size())),
          "geometry");

    PLib3MFModelBuildItem* item = nullptr;
    Check(lib3mf_model_addbuilditem(model, object, nullptr, &item), "build item");
    const Handle itemHandle(item);

    PLib3MFModelWriter* writer = nullptr;
    Check(lib3mf_model_querywriter(model, "3mf", &writer), "writer");
    const Handle writerHandle(writer);
    ULONG64 size = 0;
    Check(lib3mf_writer_getstreamsize(writer, &size), "size");
    std::string bytes(static_cast<std::size_t>(size), '\0');
    Check(lib3mf_writer_writetobuffer(writer, reinterpret_cast<BYTE*>(bytes.data()), size), "write");
    return bytes;
}
