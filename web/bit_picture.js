// A picture of a bit: an SVG bar of its sync, propagation, phase 1 and phase 2 quanta,
// the sample point marked where phase 1 ends, and the time quantum in ns. One bar for
// the grid's selected row, one bar per node for a plan, all on one time axis so the
// nodes' sample points can be seen to line up. Every number written here is a text
// the module made (worker.js 'bit-parts'); only the drawing's geometry is worked out
// here.
import { kTexts } from './i18n.js';

const kBitSvgNs = 'http://www.w3.org/2000/svg';
const kBitWidth = 640;         // the drawing's units; the SVG scales to its box
const kBitLabelWidth = 90;     // room for a node's name before its bar
const kBitBarHeight = 26;
const kBitRowHeight = 58;      // a bar, its marker and its line of figures
const kBitTop = 18;            // room for the sample point's label above the first bar

// The four parts, in the order a bit has them, with their style's class.
const kBitParts = [
  { key: 'sync', className: 'bit-sync' },
  { key: 'prop', className: 'bit-prop' },
  { key: 'phase1', className: 'bit-phase1' },
  { key: 'phase2', className: 'bit-phase2' },
];

function BitSvgElement(name, attributes = {}, text = null) {
  const element = document.createElementNS(kBitSvgNs, name);
  for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, String(value));
  if (text !== null) element.textContent = text;
  return element;
}

// What a screen reader says for one bar: every number of it, in the page's language.
export function BitDescription(parts, language, name = '') {
  return kTexts[language].bitDescription(parts, name);
}

// The bars of rows ({name, parts}) drawn into one SVG, each as long as its bit takes
// against the longest of them (scalePs), the sample point marked on each.
function BitBars(rows, language, title) {
  const texts = kTexts[language];
  const height = kBitTop + rows.length * kBitRowHeight;
  const longest = Math.max(...rows.map((row) => row.parts.scalePs));
  const named = rows.some((row) => row.name !== '');
  const left = named ? kBitLabelWidth : 0;
  const axis = kBitWidth - left - 4;
  const svg = BitSvgElement('svg', {
    viewBox: `0 0 ${kBitWidth} ${height}`, role: 'img', class: 'bit-picture', preserveAspectRatio: 'xMinYMin meet',
  });
  svg.appendChild(BitSvgElement('title', {}, title));
  rows.forEach((row, index) => {
    const { parts } = row;
    const y = kBitTop + index * kBitRowHeight;
    const quanta = parts.sync + parts.prop + parts.phase1 + parts.phase2;
    const barWidth = axis * (parts.scalePs / longest);
    const group = BitSvgElement('g', { class: 'bit-bar', 'data-node': row.name });
    if (named) group.appendChild(BitSvgElement('text', { x: 0, y: y + kBitBarHeight * 0.7, class: 'bit-name' }, row.name));
    let at = 0;
    for (const part of kBitParts) {
      const count = parts[part.key];
      if (count === 0) continue;
      const x = left + barWidth * (at / quanta);
      const width = barWidth * (count / quanta);
      group.appendChild(BitSvgElement('rect', {
        x, y, width, height: kBitBarHeight, class: `bit-part ${part.className}`, 'data-part': part.key,
        'data-quanta': count,
      }));
      // The part's quanta inside it, where there is room for the figure.
      if (width >= 18) {
        group.appendChild(BitSvgElement('text', {
          x: x + width / 2, y: y + kBitBarHeight * 0.68, class: 'bit-count', 'text-anchor': 'middle',
        }, String(count)));
      }
      at += count;
    }
    // The quanta's edges, thin, where they are far enough apart to see.
    if (barWidth / quanta >= 4) {
      for (let q = 1; q < quanta; ++q) {
        const x = left + barWidth * (q / quanta);
        group.appendChild(BitSvgElement('line', { x1: x, x2: x, y1: y + kBitBarHeight - 5, y2: y + kBitBarHeight, class: 'bit-tick' }));
      }
    }
    const sampleX = left + barWidth * ((parts.sync + parts.prop + parts.phase1) / quanta);
    group.appendChild(BitSvgElement('line', {
      x1: sampleX, x2: sampleX, y1: y - 6, y2: y + kBitBarHeight + 6, class: 'bit-sample-point',
      'data-sample-point': parts.samplePoint,
    }));
    group.appendChild(BitSvgElement('text', {
      x: sampleX, y: y - 8, class: 'bit-sample-label', 'text-anchor': 'middle',
    }, parts.samplePoint));
    group.appendChild(BitSvgElement('text', { x: left, y: y + kBitBarHeight + 18, class: 'bit-figures' },
      texts.bitFigures(parts)));
    svg.appendChild(group);
  });
  svg.setAttribute('aria-label', title);
  return svg;
}

// The legend of the parts' colours, as HTML beside the SVG.
function BitLegend(language) {
  const texts = kTexts[language];
  const legend = document.createElement('p');
  legend.className = 'bit-legend';
  for (const part of kBitParts) {
    const item = document.createElement('span');
    const swatch = document.createElement('span');
    swatch.className = `bit-swatch ${part.className}`;
    swatch.setAttribute('aria-hidden', 'true');
    item.append(swatch, texts.bitPartNames[part.key]);
    legend.appendChild(item);
  }
  const mark = document.createElement('span');
  mark.className = 'bit-legend-sample';
  mark.textContent = texts.bitSamplePointMark;
  legend.appendChild(mark);
  return legend;
}

// The selected row's bit into container; parts null empties it.
export function ShowBitPicture(container, parts, language) {
  container.replaceChildren();
  if (!parts) {
    container.hidden = true;
    return;
  }
  container.hidden = false;
  container.append(BitBars([{ name: '', parts }], language, BitDescription(parts, language)), BitLegend(language));
}

// A plan's bits into container: groups [{title, rows: [{name, parts}]}], one SVG per
// group (the nominal phase, and an FD bus's data phase), each on its own time axis.
export function ShowPlanPicture(container, groups, language) {
  container.replaceChildren();
  for (const group of groups) {
    const heading = document.createElement('h3');
    heading.textContent = group.title;
    const description = [group.title, ...group.rows.map((row) => BitDescription(row.parts, language, row.name))].join('; ');
    container.append(heading, BitBars(group.rows, language, description));
  }
  if (groups.length > 0) container.appendChild(BitLegend(language));
}

// The grid's selected row: its setting's parts asked of the worker, the answer of the
// last request only drawn. request: a 'bit-parts' request, or null for no row.
let bitPartsAsked = 0;
let bitPartsShown = null;

export function ShowSettingBit(bridge, container, request, language) {
  const asked = ++bitPartsAsked;
  if (!request) {
    bitPartsShown = null;
    ShowBitPicture(container, null, language);
    return;
  }
  const show = (parts) => {
    if (asked !== bitPartsAsked) return;
    bitPartsShown = parts;
    ShowBitPicture(container, parts, language);
  };
  bridge.Ask('bit-parts', request).then(show, () => show(null));
}

// The selected row's bit again, in another language.
export function RedrawSettingBit(container, language) {
  ShowBitPicture(container, bitPartsShown, language);
}
