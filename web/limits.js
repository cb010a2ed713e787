// Larger pictures are not shown (a canvas holds only so many pixels), only offered for
// download.
export const kShownSideMax = 8192;
