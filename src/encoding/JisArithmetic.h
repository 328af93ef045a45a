#pragma once

namespace pictor::jis {

// JIS X 0208 pair to Shift-JIS (JIS X 0208 Annex 1) as lead * 256 + trail, each byte taken modulo 256.
inline unsigned SjisOf(unsigned j1, unsigned j2)
{
    const unsigned s1 = ((j1 + 1) >> 1) + (j1 < 0x5F ? 0x70 : 0xB0);
    const unsigned s2 = j2 + ((j1 & 1) ? (j2 <= 0x5F ? 0x1F : 0x20) : 0x7E);
    return (s1 & 0xFF) << 8 | (s2 & 0xFF);
}

// Shift-JIS pair to JIS X 0208 with offset added to both bytes (0x80 gives EUC-JP), each modulo 256.
inline unsigned JisOf(unsigned s1, unsigned s2, unsigned offset)
{
    const unsigned j1 = 2 * (s1 - (s1 < 0xA0 ? 0x70 : 0xB0)) - (s2 < 0x9F ? 1 : 0);
    const unsigned j2 = s2 - (s2 < 0x7F ? 0x1F : s2 < 0x9F ? 0x20 : 0x7E);
    return ((j1 + offset) & 0xFF) << 8 | ((j2 + offset) & 0xFF);
}

} // namespace pictor::jis
