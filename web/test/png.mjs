// Just enough PNG for comparing pictures: 8-bit RGB or RGBA, not interlaced, as the game's
// screenshots and the browser's canvas export are. Pixels come back as RGBA.
import zlib from 'node:zlib';

export function decodePng(bytes) {
  const signature = [137, 80, 78, 71, 13, 10, 26, 10];
  if (!signature.every((b, i) => bytes[i] === b)) throw new Error('not a PNG');
  let pos = 8, width = 0, height = 0, colourType = 0;
  const data = [];
  while (pos < bytes.length) {
    const length = bytes.readUInt32BE(pos);
    const type = bytes.toString('latin1', pos + 4, pos + 8);
    const body = bytes.subarray(pos + 8, pos + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('only 8-bit, non-interlaced PNGs');
      colourType = body[9];
    } else if (type === 'IDAT') {
      data.push(body);
    }
    pos += 12 + length;
  }
  const channels = {2: 3, 6: 4}[colourType];
  if (!channels) throw new Error('colour type ' + colourType + ' not handled');
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rgba = Buffer.alloc(width * height * 4);
  let previous = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? line[x - channels] : 0;
      const b = previous[x];
      const c = x >= channels ? previous[x - channels] : 0;
      let add = 0;
      if (filter === 1) add = a;
      else if (filter === 2) add = b;
      else if (filter === 3) add = (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        add = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      line[x] = (line[x] + add) & 255;
    }
    for (let x = 0; x < width; ++x) {
      for (let k = 0; k < 3; ++k) rgba[(y * width + x) * 4 + k] = line[x * channels + k];
      rgba[(y * width + x) * 4 + 3] = channels === 4 ? line[x * channels + 3] : 255;
    }
    previous = line;
  }
  return {width, height, rgba};
}

// Pixels whose red, green or blue differ, and the largest difference of a channel.
export function comparePictures(a, b) {
  if (a.width !== b.width || a.height !== b.height) {
    return {sizesDiffer: true, differing: a.width * a.height, largest: 255};
  }
  let differing = 0, largest = 0;
  for (let i = 0; i < a.rgba.length; i += 4) {
    let pixel = 0;
    for (let k = 0; k < 3; ++k) pixel = Math.max(pixel, Math.abs(a.rgba[i + k] - b.rgba[i + k]));
    if (pixel > 0) ++differing;
    largest = Math.max(largest, pixel);
  }
  return {sizesDiffer: false, differing, largest};
}
