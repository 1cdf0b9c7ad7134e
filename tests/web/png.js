// Reads the PNG pictures the native tools write (8-bit RGB or RGBA, not
// interlaced) into 0x00RRGGBB pixels, for comparison with canvas pixels.
'use strict';
const fs = require('fs');
const zlib = require('zlib');

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

function unfilter(data, width, height, channels) {
  const stride = width * channels;
  const out = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = data[y * (stride + 1)];
    const row = data.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const left = x >= channels ? out[y * stride + x - channels] : 0;
      const up = y > 0 ? out[(y - 1) * stride + x] : 0;
      const corner = x >= channels && y > 0 ? out[(y - 1) * stride + x - channels] : 0;
      const predictor = [0, left, up, (left + up) >> 1, paeth(left, up, corner)][filter];
      if (predictor === undefined) throw new Error(`PNG filter ${filter} unknown`);
      out[y * stride + x] = (row[x] + predictor) & 0xFF;
    }
  }
  return out;
}

function readPng(file) {
  const bytes = fs.readFileSync(file);
  if (bytes.readUInt32BE(0) !== 0x89504E47) throw new Error(`${file} is not a PNG file`);
  let offset = 8, width = 0, height = 0, channels = 0;
  const idat = [];
  while (offset < bytes.length) {
    const length = bytes.readUInt32BE(offset);
    const type = bytes.toString('latin1', offset + 4, offset + 8);
    const body = bytes.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const depth = body[8], colour = body[9], interlace = body[12];
      channels = {2: 3, 6: 4}[colour];
      if (depth !== 8 || !channels || interlace !== 0)
        throw new Error(`${file}: only 8-bit RGB/RGBA, not interlaced`);
    } else if (type === 'IDAT') {
      idat.push(body);
    }
    offset += 12 + length;
  }
  const raw = unfilter(zlib.inflateSync(Buffer.concat(idat)), width, height, channels);
  const pixels = new Uint32Array(width * height);
  for (let i = 0; i < pixels.length; ++i) {
    const at = i * channels;
    pixels[i] = (raw[at] << 16) | (raw[at + 1] << 8) | raw[at + 2];
  }
  return {width, height, pixels};
}

module.exports = {readPng};
