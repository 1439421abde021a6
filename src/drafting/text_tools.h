#pragma once
#include <QString>

namespace kelvor {
class Context;
}

namespace kelvor::drafting {

void texttools_Click(Context& ctx);
void crooslinetext_Click(Context& ctx);
void deletetextspace_Click(Context& ctx);
void xunxu_zhu_Click(Context& ctx);

// The group name of the k-th line of a run: "MM-dd-yyyy-H-m-s" then k.
QString lineGroupName(Context& ctx, int k);

} // namespace kelvor::drafting
