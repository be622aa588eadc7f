// Writes the drawings of the program's small pictures into the folder given as argument, as
// sources for regenerate.sh: the "Exit" door in four states (XPM pixel art, transparent
// background), the application icon (SVG) and the figures of the references document (SVG).
import fs from 'node:fs';
import path from 'node:path';

const outDir = process.argv[2];
if (!outDir) throw new Error('usage: node make_pictures.mjs OUTPUT_FOLDER');
fs.mkdirSync(outDir, { recursive: true });
const write = (name, text) => fs.writeFileSync(path.join(outDir, name), text);

// ---- The door of the "Exit" button: 16 x 16 ------------------------------------------------
// A door frame, the door swung open on its left, and a green arrow leaving through it.
// Pure white is kept out of every picture, so the pictures also work where white is taken as
// the transparent colour.
const palette = {
  k: [48, 40, 32],     // frame outline
  b: [28, 28, 36],     // the dark doorway
  d: [176, 104, 48],   // door panel
  D: [120, 64, 24],    // door panel edge
  y: [248, 208, 40],   // door knob
  g: [56, 184, 56],    // arrow
  G: [16, 104, 16],    // arrow outline
};

function doorPixels() {
  const grid = Array.from({ length: 16 }, () => Array(16).fill('.'));
  const set = (x, y, c) => { if (x >= 0 && x < 16 && y >= 0 && y < 16) grid[y][x] = c; };
  // Frame x 1..10, y 1..15 with the doorway inside.
  for (let y = 1; y <= 15; y++) for (let x = 1; x <= 10; x++) set(x, y, 'b');
  for (let x = 1; x <= 10; x++) set(x, 1, 'k');
  for (let y = 1; y <= 15; y++) { set(1, y, 'k'); set(10, y, 'k'); }
  // The open door, seen at an angle: a panel narrowing from the hinge side.
  for (let x = 2; x <= 5; x++) {
    const inset = x - 2;
    for (let y = 2 + inset; y <= 15 - inset; y++) set(x, y, 'd');
    set(x, 2 + inset, 'D');
    set(x, 15 - inset, 'D');
  }
  for (let y = 5; y <= 12; y++) set(5, y, 'D');
  set(4, 9, 'y');
  // The arrow: a shaft from x 6 to 10 (rows 6..9) and a head from x 11 to its tip at x 14.
  const arrow = new Set();
  for (let x = 6; x <= 10; x++) for (let y = 6; y <= 9; y++) arrow.add(`${x},${y}`);
  for (let x = 11; x <= 14; x++) {
    const half = 14 - x;  // 3..0: rows 4..11 at the base, 7..8 at the tip
    for (let y = 7 - half; y <= 8 + half; y++) arrow.add(`${x},${y}`);
  }
  for (const key of arrow) {
    const [x, y] = key.split(',').map(Number);
    const edge = [[1, 0], [-1, 0], [0, 1], [0, -1]].some(([dx, dy]) => !arrow.has(`${x + dx},${y + dy}`));
    set(x, y, edge ? 'G' : 'g');
  }
  return grid;
}

// The four states of a picture button: normal, disabled (greyed), pressed (one pixel down
// and right, darker) and hot (under the mouse, brighter).
const clamp = (v) => Math.max(0, Math.min(254, Math.round(v)));
const states = {
  normal: { shift: 0, colour: (c) => c },
  disabled: {
    shift: 0,
    colour: ([r, g, b]) => { const l = 0.3 * r + 0.59 * g + 0.11 * b; const v = clamp(120 + l * 0.45); return [v, v, v]; },
  },
  pressed: { shift: 1, colour: (c) => c.map((v) => clamp(v * 0.8)) },
  hot: { shift: 0, colour: (c) => c.map((v) => clamp(v + (255 - v) * 0.3)) },
};

function xpm(name, grid, shift, colour) {
  const keys = Object.keys(palette);
  const lines = [];
  for (let y = 0; y < 16; y++) {
    let row = '';
    for (let x = 0; x < 16; x++) {
      const sx = x - shift;
      const sy = y - shift;
      row += sx >= 0 && sy >= 0 ? grid[sy][sx] : '.';
    }
    lines.push(`"${row}"`);
  }
  const hex = (c) => '#' + colour(c).map((v) => v.toString(16).padStart(2, '0')).join('');
  const colours = [`". c None"`, ...keys.map((k) => `"${k} c ${hex(palette[k])}"`)];
  return `/* XPM */\nstatic char *${name}[] = {\n"16 16 ${colours.length} 1",\n${[...colours, ...lines].join(',\n')}\n};\n`;
}

const door = doorPixels();
for (const [state, { shift, colour }] of Object.entries(states)) {
  write(`exit-door-${state}.xpm`, xpm(`exit_door_${state}`, door, shift, colour));
}

// ---- The application icon -------------------------------------------------------------------
// A red and yellow sun behind a white cloud, drawn on a 32 x 32 grid.
const rays = Array.from({ length: 8 }, (_, i) => {
  const a = (i * Math.PI) / 4 + Math.PI / 8;
  const p = (r, da) => [20 + r * Math.cos(a + da), 12 + r * Math.sin(a + da)].map((v) => v.toFixed(2)).join(',');
  return `<polygon points="${p(7, -0.32)} ${p(11.5, 0)} ${p(7, 0.32)}"/>`;
}).join('');
const cloudShapes = '<circle cx="10" cy="22" r="5"/><circle cx="16.5" cy="18.5" r="6.5"/>' +
  '<circle cx="23.5" cy="22" r="4.5"/><rect x="5" y="21" width="23" height="6.5" rx="3.2"/>';
write('skelmar.svg', `<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <title>Skelmar</title>
  <g fill="#e02010">${rays}</g>
  <circle cx="20" cy="12" r="7" fill="#ffd21e" stroke="#e02010" stroke-width="1"/>
  <g fill="#6a7480" stroke="#6a7480" stroke-width="2">${cloudShapes}</g>
  <g fill="#f4f6f8">${cloudShapes}</g>
</svg>
`);

// ---- Figures of the references document ----------------------------------------------------
const font = 'font-family="DejaVu Sans"';

// Flight categories over ceiling and visibility. The axes are cut at the category limits and
// each band is given the same width, so every category shows as an L-shaped band.
function flightCategories() {
  const left = 78, top = 16, w = 400, h = 220;
  // The last value of each axis only closes the open-ended best band and is not labelled.
  const xs = [0, 1, 3, 5, 7];           // visibility, statute miles
  const ys = [0, 500, 1000, 3000, 4000]; // ceiling, feet
  const X = (i) => left + (w * i) / (xs.length - 1);
  const Y = (i) => top + h - (h * i) / (ys.length - 1);
  const bands = [
    ['VFR', '#2f9a3c', 4],
    ['MVFR', '#2a62c8', 3],
    ['IFR', '#d42a2a', 2],
    ['LIFR', '#b02cb0', 1],
  ];
  // Each band, painted over the better ones: ceiling below its limit or visibility below it.
  let body = '';
  for (const [, fill, limit] of bands) {
    body += `<rect x="${left}" y="${Y(limit)}" width="${w}" height="${top + h - Y(limit)}" fill="${fill}"/>`;
    body += `<rect x="${left}" y="${top}" width="${X(limit) - left}" height="${h}" fill="${fill}"/>`;
  }
  // Labels along the diagonal, where each band is widest.
  for (const [name, , limit] of bands) {
    const x = (X(limit - 1) + X(limit)) / 2 + 4;
    const y = (Y(limit - 1) + Y(limit)) / 2 + 5;
    body += `<text x="${x}" y="${y}" fill="#ffffff" font-weight="bold" font-size="14" text-anchor="middle">${name}</text>`;
  }
  let axes = `<rect x="${left}" y="${top}" width="${w}" height="${h}" fill="none" stroke="#202020"/>`;
  xs.forEach((v, i) => {
    axes += `<line x1="${X(i)}" y1="${top + h}" x2="${X(i)}" y2="${top + h + 5}" stroke="#202020"/>`;
    axes += `<text x="${X(i)}" y="${top + h + 18}" font-size="12" text-anchor="middle">${i === xs.length - 1 ? '' : v}</text>`;
  });
  ys.forEach((v, i) => {
    axes += `<line x1="${left - 5}" y1="${Y(i)}" x2="${left}" y2="${Y(i)}" stroke="#202020"/>`;
    if (i < ys.length - 1) axes += `<text x="${left - 8}" y="${Y(i) + 4}" font-size="12" text-anchor="end">${String(v).replace(/(\d)(\d{3})$/, '$1,$2')}</text>`;
  });
  axes += `<text x="${left + w / 2}" y="${top + h + 36}" font-size="12" text-anchor="middle">Visibility (statute miles)</text>`;
  axes += `<text transform="translate(16 ${top + h / 2}) rotate(-90)" font-size="12" text-anchor="middle">Ceiling (feet above ground)</text>`;
  return `<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="500" height="${top + h + 46}" viewBox="0 0 500 ${top + h + 46}" ${font}>
  <rect width="100%" height="100%" fill="#ffffff"/>
  ${body}
  ${axes}
</svg>
`;
}
write('flight-categories.svg', flightCategories());

// Sky cover in eighths of the sky, as the bulletin's cloud codes give it.
function skyCover() {
  const covers = [
    ['CL', 'clear', '0/8', 0],
    ['FW', 'few', '1/8 - 2/8', 0.25],
    ['SC', 'scattered', '3/8 - 4/8', 0.5],
    ['BK', 'broken', '5/8 - 7/8', 0.75],
    ['OV', 'overcast', '8/8', 1],
  ];
  const r = 22;
  let body = '';
  covers.forEach(([code, name, eighths, share], i) => {
    const cx = 50 + i * 96, cy = 34;
    body += `<circle cx="${cx}" cy="${cy}" r="${r}" fill="#ffffff" stroke="#203040" stroke-width="2"/>`;
    if (share >= 1) {
      body += `<circle cx="${cx}" cy="${cy}" r="${r}" fill="#203040"/>`;
    } else if (share > 0) {
      const a = share * 2 * Math.PI;
      const ex = cx + r * Math.sin(a), ey = cy - r * Math.cos(a);
      body += `<path d="M${cx},${cy} L${cx},${cy - r} A${r},${r} 0 ${share > 0.5 ? 1 : 0} 1 ${ex.toFixed(2)},${ey.toFixed(2)} Z" fill="#203040"/>`;
    }
    body += `<text x="${cx}" y="${cy + r + 18}" font-size="13" font-weight="bold" text-anchor="middle">${code}</text>`;
    body += `<text x="${cx}" y="${cy + r + 33}" font-size="12" text-anchor="middle">${name}</text>`;
    body += `<text x="${cx}" y="${cy + r + 48}" font-size="11" fill="#505050" text-anchor="middle">${eighths}</text>`;
  });
  return `<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="480" height="112" viewBox="0 0 480 112" ${font}>
  <rect width="100%" height="100%" fill="#ffffff"/>
  ${body}
</svg>
`;
}
write('sky-cover.svg', skyCover());
