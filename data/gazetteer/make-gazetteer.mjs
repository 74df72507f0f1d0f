// Writes the gazetteer file GEO_Bin/GEO_Item.bin: place names from GeoNames'
// cities-500 table, Chinese names from the GeoNames catalogues of Debian's
// libgeonames-common (converted with OpenCC), and the project's own list of
// seas, straits, gulfs, bays and capes (features.tsv).
//
//   node make-gazetteer.mjs --cities cities500.txt --features features.tsv \
//        --catalogues /usr/share/locale --output GEO_Item.bin
//
// The same inputs always give the same bytes.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

const UNITS = 1000000;           // units per degree, latitude and longitude
const MAX_NAME_BYTES = 99;       // a label keeps at most 99 bytes of its name
const MAX_RECORD = 500;
const CLASS_SEA = 1, CLASS_STRAIT = 2, CLASS_CAPE = 3, CLASS_CAPITAL = 4, CLASS_PLACE = 5;
const LANG_EN = 0, LANG_TW = 1, LANG_CN = 2;

// Declutter windows (latitude, degrees) of the scale at which each level first
// shows: 200 nm, 48 nm, 24 nm and 6 nm per ring; 12 pixels of latitude each.
const FIRST_WINDOW = [200, 48, 24, 6].map((nm) => (nm / 60 / 60) * 12);
// Most places of a level in one one-degree cell; the rest move a level down.
const CELL_QUOTA = [2, 1, 4, 20];

function parseArgs(argv) {
  const args = { catalogues: '/usr/share/locale' };
  for (let i = 2; i + 1 < argv.length; i += 2) args[argv[i].replace(/^--/, '')] = argv[i + 1];
  for (const need of ['cities', 'features', 'output']) {
    if (!args[need]) {
      console.error('usage: node make-gazetteer.mjs --cities FILE --features FILE ' +
                    '--output FILE [--catalogues DIR]');
      process.exit(2);
    }
  }
  return args;
}

// Reads a gettext .mo catalogue into a Map of message id -> translation.
function readMo(file) {
  const map = new Map();
  if (!fs.existsSync(file)) return map;
  const b = fs.readFileSync(file);
  const magic = b.readUInt32LE(0);
  const rd = magic === 0x950412de ? (o) => b.readUInt32LE(o) : (o) => b.readUInt32BE(o);
  const count = rd(8), originals = rd(12), translations = rd(16);
  for (let i = 0; i < count; ++i) {
    const ol = rd(originals + 8 * i), oo = rd(originals + 8 * i + 4);
    const tl = rd(translations + 8 * i), to = rd(translations + 8 * i + 4);
    if (ol === 0) continue;
    map.set(b.toString('utf8', oo, oo + ol), b.toString('utf8', to, to + tl));
  }
  return map;
}

// Converts many texts at once with an OpenCC configuration (one per line).
function openccAll(texts, config) {
  if (texts.length === 0) return [];
  const r = spawnSync('opencc', ['-c', config], { input: texts.join('\n') + '\n', maxBuffer: 1 << 28 });
  if (r.status !== 0) throw new Error(`opencc ${config} failed: ${r.stderr}`);
  const out = r.stdout.toString('utf8').split('\n');
  return texts.map((t, i) => out[i] ?? t);
}

// Traditional and Simplified names by GeoNames id.
function chineseNames(dir) {
  const mo = (loc) => readMo(path.join(dir, loc, 'LC_MESSAGES', 'geonames.mo'));
  const tw = mo('zh_TW'), hk = mo('zh_HK'), cn = mo('zh_CN'), sg = mo('zh_SG'), zh = mo('zh');
  const ids = [...new Set([...tw.keys(), ...hk.keys(), ...cn.keys(), ...sg.keys(), ...zh.keys()])]
    .sort();
  const tradSource = ids.map((id) => tw.get(id) ?? hk.get(id) ?? cn.get(id) ?? sg.get(id) ?? zh.get(id));
  const simpSource = ids.map((id) => cn.get(id) ?? sg.get(id) ?? zh.get(id) ?? tw.get(id) ?? hk.get(id));
  const trad = openccAll(tradSource, 's2tw.json');
  const simp = openccAll(simpSource, 't2s.json');
  const names = new Map();
  ids.forEach((id, i) => names.set(id, { tw: trad[i], cn: simp[i] }));
  return names;
}

// Cuts a UTF-8 text to at most max bytes without splitting a character.
function cutUtf8(text, max = MAX_NAME_BYTES) {
  let b = Buffer.from(text, 'utf8');
  if (b.length <= max) return b;
  let n = max;
  while (n > 0 && (b[n] & 0xc0) === 0x80) --n;
  return b.subarray(0, n);
}

function cellOf(lat, lon) {
  const row = Math.min(179, Math.max(0, Math.floor(90 - lat)));
  const col = Math.min(359, Math.max(0, Math.floor(lon + 180)));
  return { row, col };
}

function readFeatures(file) {
  const items = [];
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    if (!line.trim() || line.startsWith('#')) continue;
    const [kind, level, lat, lon, en, cn, tw] = line.split('\t');
    const cls = { sea: CLASS_SEA, strait: CLASS_STRAIT, cape: CLASS_CAPE }[kind];
    if (cls === undefined) throw new Error(`features: unknown kind "${kind}"`);
    items.push({ cls, level: Number(level), lat: Number(lat), lon: Number(lon), en, cn, tw: tw || '' });
  }
  const missing = items.filter((f) => !f.tw);
  openccAll(missing.map((f) => f.cn), 's2tw.json').forEach((t, i) => { missing[i].tw = t; });
  return items;
}

// Natural level of a place: capitals and cities of a million at 0, then 100000,
// 15000 and the rest.
function placeLevel(featureCode, population) {
  if (featureCode === 'PPLC' || population >= 1000000) return 0;
  if (population >= 100000) return 1;
  if (population >= 15000) return 2;
  return 3;
}

function readPlaces(file, chinese) {
  const places = [];
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    const f = line.split('\t');
    if (f.length < 15 || f[6] !== 'P') continue;
    const population = Number(f[14]) || 0;
    const zh = chinese.get(f[0]);
    places.push({
      id: Number(f[0]), en: f[1], lat: Number(f[4]), lon: Number(f[5]), population,
      cls: f[7] === 'PPLC' ? CLASS_CAPITAL : CLASS_PLACE,
      level: placeLevel(f[7], population), tw: zh?.tw ?? '', cn: zh?.cn ?? '',
    });
  }
  // Most important first; the id makes the order total.
  places.sort((a, b) => (a.cls === CLASS_CAPITAL ? 0 : 1) - (b.cls === CLASS_CAPITAL ? 0 : 1) ||
    a.level - b.level || b.population - a.population || a.id - b.id);
  return places;
}

// The chart keeps, of two colliding labels, the one with the larger flags byte
// (the less important). So a place is shown only at levels where no more
// important place lies within the collision window of the scale at which that
// level first appears; otherwise it moves down a level, or is left out.
function placeLabels(places, features) {
  const kept = [...features];
  const grid = new Map();
  const key = (r, c) => r * 400 + c;
  const add = (item) => {
    const { row, col } = cellOf(item.lat, item.lon);
    if (!grid.has(key(row, col))) grid.set(key(row, col), []);
    grid.get(key(row, col)).push(item);
  };
  features.forEach(add);
  const flags = (item) => item.cls | (item.level << 6);
  const blocked = (p, level) => {
    const a = FIRST_WINDOW[level];
    const nameLen = Buffer.byteLength(p.en, 'utf8');
    const candidateFlags = p.cls | (level << 6);
    const { row, col } = cellOf(p.lat, p.lon);
    const reach = Math.ceil(a * Math.max(nameLen, 1)) + 1;
    for (let r = row - 1; r <= row + 1; ++r) {
      for (let c = col - reach; c <= col + reach; ++c) {
        for (const q of grid.get(key(r, ((c % 360) + 360) % 360)) ?? []) {
          if (q.cls === CLASS_SEA || q.cls === CLASS_STRAIT) continue;
          if (flags(q) >= candidateFlags) continue;
          const n = Math.max(nameLen, Buffer.byteLength(q.en, 'utf8'));
          if (Math.abs(q.lat - p.lat) < a && Math.abs(q.lon - p.lon) < a * n) return true;
        }
      }
    }
    return false;
  };
  const perCell = new Map();
  for (const p of places) {
    const { row, col } = cellOf(p.lat, p.lon);
    for (let level = p.level; level <= 3; ++level) {
      const quotaKey = key(row, col) * 4 + level;
      if ((perCell.get(quotaKey) ?? 0) >= CELL_QUOTA[level] && p.cls !== CLASS_CAPITAL) continue;
      if (blocked(p, level)) continue;
      perCell.set(quotaKey, (perCell.get(quotaKey) ?? 0) + 1);
      p.level = level;
      kept.push(p);
      add(p);
      break;
    }
  }
  return kept;
}

function encodeRecord(item) {
  const names = [[LANG_EN, cutUtf8(item.en)]];
  if (item.tw) names.push([LANG_TW, cutUtf8(item.tw)]);
  if (item.cn) names.push([LANG_CN, cutUtf8(item.cn)]);
  const length = 12 + 4 * names.length + names.reduce((s, [, b]) => s + b.length, 0);
  if (length > MAX_RECORD) throw new Error(`record too long: ${item.en}`);
  const rec = Buffer.alloc(length);
  rec.writeUInt16LE(length, 0);
  rec.writeUInt8(item.cls | (item.level << 6), 2);
  rec.writeInt32LE(Math.round(item.lon * UNITS), 3);
  rec.writeInt32LE(Math.round(item.lat * UNITS), 7);
  rec.writeUInt8(names.length, 11);
  let at = 12 + 4 * names.length;
  names.forEach(([lang, bytes], i) => {
    rec.writeUInt8(lang, 12 + 4 * i);
    rec.writeUInt16LE(at, 13 + 4 * i);
    rec.writeUInt8(bytes.length, 15 + 4 * i);
    bytes.copy(rec, at);
    at += bytes.length;
  });
  return rec;
}

function writeGazetteer(items, output) {
  const cells = Array.from({ length: 180 * 360 }, () => []);
  for (const item of items) {
    const { row, col } = cellOf(item.lat, item.lon);
    cells[row * 360 + col].push(item);
  }
  const header = Buffer.alloc(128);
  [90, -90, 180, -180].forEach((deg, i) => header.writeInt32LE(deg * UNITS, 4 * (11 + i)));
  header.writeInt32LE(UNITS, 4 * 15);
  header.writeInt32LE(UNITS, 4 * 16);
  header.writeInt32LE(items.length, 0);
  const index = Buffer.alloc(4 * cells.length);
  const chunks = [header, index];
  let offset = header.length + index.length;
  const terminator = Buffer.alloc(2);
  cells.forEach((list, i) => {
    if (list.length === 0) return;
    // Seas and straits, capes, then places by level and importance.
    list.sort((a, b) => a.level - b.level || a.cls - b.cls || (b.population ?? 0) - (a.population ?? 0) ||
      (a.id ?? 0) - (b.id ?? 0) || (a.en < b.en ? -1 : a.en > b.en ? 1 : 0));
    index.writeInt32LE(offset, 4 * i);
    for (const item of list) {
      const rec = encodeRecord(item);
      chunks.push(rec);
      offset += rec.length;
    }
    chunks.push(terminator);
    offset += terminator.length;
  });
  const temp = `${output}.tmp`;
  fs.mkdirSync(path.dirname(path.resolve(output)), { recursive: true });
  fs.writeFileSync(temp, Buffer.concat(chunks));
  fs.renameSync(temp, output);
  return offset;
}

const args = parseArgs(process.argv);
const started = Date.now();
const chinese = chineseNames(args.catalogues);
const features = readFeatures(args.features);
const places = readPlaces(args.cities, chinese);
const items = placeLabels(places, features);
const size = writeGazetteer(items, args.output);
const byLevel = [0, 1, 2, 3].map((l) => items.filter((i) => i.level === l && i.cls >= CLASS_CAPITAL).length);
console.error(`gazetteer: ${features.length} sea features, ${places.length} places read, ` +
  `${items.length - features.length} kept (levels 0-3: ${byLevel.join('/')}), ` +
  `${items.filter((i) => i.cn).length} with Chinese names; ${size} bytes, ` +
  `${((Date.now() - started) / 1000).toFixed(1)} s`);
