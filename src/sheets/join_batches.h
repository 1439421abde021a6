#pragma once
// Join tables over a folder of sheet drawings with the frame "actkf1":
// standard numbers in place (the drawing saved), or company numbers with
// the drawing saved anew under its company number.

namespace kelvor {
class Context;
}

namespace kelvor::sheets {

// Menu CASS开发 "加图幅接合表[批量]". The old table (texts in or touching the
// box above the frame) is replaced; a drawing without the frame stops the
// batch there, open and unsaved, with the missing-frame message.
void addtujhbgongshipl_Click(Context& ctx);

// Menu CASS开发 "公司定义图幅": company numbers in the table and in the
// sheet's own number text, the drawing saved as <folder>\<company number>;
// the file opened is never written. A drawing without its own standard
// number text is told and closed unsaved; the batch goes on.
void cehuigongshidingyi_Click(Context& ctx);

} // namespace kelvor::sheets
