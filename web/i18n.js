// The page's texts in its two languages. The Chinese ones are the window's own (its GBK
// texts, here as Unicode); the English ones say the same. The rows themselves are ASCII
// and the same in both; the grid's column titles, in both languages, come from the
// module's column table with the worker's 'ready' message.

export const kLanguages = ['zh', 'en'];

// The subject of a best warning for its phase ("" a classic setting's, "pair" an FD
// pair's two phases together).
const kZhPhase = { '': '', nominal: '仲裁段', data: '数据段', pair: '两段合计的' };
const kEnPhase = { '': 'The', nominal: "The nominal phase's", data: "The data phase's", pair: "The pair's" };

export const kTexts = {
  zh: {
    title: 'Quillmere：CAN 位时序计算',
    clockLabel: 'AHB1时钟：',
    clockUnit: 'Mhz',
    rateLabel: 'CAN波特率：',
    rateUnit: 'Kbps',
    samplePointLabel: '采集点：',
    toleranceLabel: '误差：',
    bestTargetLabel: '最佳设置目标采集点：',
    bestTargetAdvice: '建议值',
    bestDataTargetLabel: '最佳设置数据段目标采集点：',
    // A target the best setting does not meet exactly: the nearest it has.
    targetNote: (note) => `${note.phase === 'data' ? '数据段' : ''}目标采集点 ${note.target}% 无法正好达到：` +
      `误差最小的设置中最接近的是 ${note.nearest}%`,
    controllerLabel: '控制器：',
    controllerSearchLabel: '查找：',
    controllerSearchHint: 'GD32、MCP2515、ESP32…',
    dataRateLabel: '数据波特率：',
    compute: '计算',
    bestTitle: '最佳设置',
    noBest: '没有满足条件的设置',
    codeTitle: '复制为代码',
    codeHint: '选中的行，未选中时为最佳设置',
    sjwLabel: 'SJW：',
    dataSjwLabel: '数据段 SJW：',
    nodeDelayLabel: '节点延迟：',
    busLengthLabel: '总线长度：',
    minToleranceLabel: '最小振荡器容差：',
    // The placeholder of an empty SJW field: what the companion takes without --sjw, by
    // the start reply's word for it (a number stands as it is).
    sjwDefault: { shorter: '较短的段', widest: '每行最宽' },
    clockNote: (clock) => `（${clock}）`,
    // w: the best reply's clockWarning ({controller, runsAt: ['20', ...], source, typed}).
    clockWarning: (w) => `${w.controller} 只能运行在 ${w.runsAt.join(w.range ? ' 至 ' : '、')} MHz`
      + `${w.source ? `（${w.source}）` : ''}，`
      + `不是 ${w.typed} MHz：计算照常，但硬件不以此时钟运行`,
    limitsTitle: '限制',
    limitsNominal: '仲裁段',
    limitsData: '数据段',
    limitsTdc: 'TDC',
    bestFacts: (tolerance, bus) => `振荡器容差 ${tolerance}，最长总线 ${bus}`,
    // w: a warning of the best reply ({name, phase, longest, asked, error, ...}).
    bestWarnings: {
      'tolerance-zero': (w) => `${kZhPhase[w.phase]}振荡器容差为 0.00%：节点间任何时钟偏差都可能使总线出错`,
      'bus-shorter-than-asked': (w) => (w.longest < 0
        ? `这一设置在所给的节点延迟下无法组成总线（传播段占满相位段 1），而总线长度为 ${w.asked} m`
        : `最长总线 ${w.longest} m，短于所给的总线长度 ${w.asked} m`),
      'error-above-tolerance': (w) => `${kZhPhase[w.phase]}误差 ${w.error}% 大于它留下的振荡器容差 ${w.tolerance}%`,
      'few-quanta': (w) => `${kZhPhase[w.phase]}每位只有 ${w.quanta} 个时间份额，少于 8 个：再同步粗糙`,
      'no-tdc': (w) => `数据段 ${w.dataRate} Kbps 无法校验自己发出的位：${w.controller} 没有 TDC，`
        + `而在 ${w.delay} ns 的节点延迟下，采样点早于位返回`,
      'tdc-unusable': (w) => `数据段 ${w.dataRate} Kbps 无法校验自己发出的位：在 ${w.delay} ns 的节点延迟下，`
        + `采样点早于位返回，而这一设置用不了 ${w.controller} 的 TDC：`
        + (w.tdc === 'prescaler' ? '数据分频系数大于 2' : `TDC 偏移 ${w.offset} 超出寄存器范围`),
    },
    codeFormLabel: '格式：',
    copyCode: '复制代码',
    legendTitle: '列说明',
    decodeTitle: '寄存器解码',
    decodeButton: '解码',
    decodeInvalid: '请输入寄存器值（0x 十六进制或十进制，最多 32 位）',
    reservedBits: (list) => `保留位已置位：${list}`,
    // The window's two messages, word for word.
    // A field whose text is no value, by the module's status name.
    unreadable: {
      'clock-unreadable': '时钟应为大于 0 的 MHz 数，最多三位小数（如 42 或 42.5），小于 2147483.648',
      'rate-unreadable': '波特率应为大于 0 的 Kbps 数（如 500 或 83.333）',
      'data-rate-unreadable': '数据波特率应为大于 0 的 Kbps 数（如 2000）',
      'sjw-unreadable': 'SJW 应为 1 到控制器上限之间的整数 tq',
      'data-sjw-unreadable': '数据段 SJW 应为 1 到控制器上限之间的整数 tq',
      'node-delay-unreadable': '节点延迟应为 0 到 10000 的整数 ns',
      'bus-length-unreadable': '总线长度应为 0 到 100000 的整数 m',
      'min-tolerance-unreadable': '最小振荡器容差应为 0 到 100 的百分数，最多六位小数',
      'tolerance-unreadable': '误差应为 0 到 100 的百分数，最多两位小数',
      'target-sample-point-unreadable': '目标采集点应为 50 到 100 的百分数，最多六位小数',
      'data-target-sample-point-unreadable': '数据段目标采集点应为 50 到 100 的百分数，最多六位小数',
      'decode-unreadable': '寄存器值应为 0x 十六进制或十进制（最多 32 位），或 NAME=VALUE 用逗号连接',
      'decode-data-unreadable': '数据段寄存器值应为 0x 十六进制或十进制（最多 32 位），或 NAME=VALUE 用逗号连接',
    },
    samplePointAdvice: '采集点选择参考：',
    // The window's two advice texts, their figures the start reply's.
    samplePointAdviceText: ({ advice }) => AdviceRows(advice, (row) => `波特率<=${row.upToKbps}Kbps选择${row.percent}%左右`,
      (row, below) => `${below}Kbps<波特率<=${row.upToKbps}Kbps选择${row.percent}%左右`,
      (row, below) => `波特率大于${below}Kbps选择${row.percent}%左右`).join('， '),
    distanceAdvice: ({ referenceLengths }) =>
      `波特率与传输距离参考：  ${referenceLengths.map((row) => `${row.rateKbps}Kbps->${row.metres}m`).join(',')}`,
    rowCount: (count) => `行数：${count}`,
    rowCountTruncated: (count, shown) => `行数：${count}（表格显示前 ${shown} 行）`,
    computing: '计算中…',
    copy: '复制',
    copied: (count) => `已复制 ${count} 行`,
    copiedCode: '已复制代码',
    help: '帮助',
    download: '下载全部 (TSV)',
    language: 'English',
    languageName: '中文',
    tableLabel: '计算结果',
    loadFailed: '无法加载计算模块',
    requestFailed: '计算失败：请重新加载页面',
  },
  en: {
    title: 'Quillmere: CAN bit timing',
    clockLabel: 'AHB1 clock:',
    clockUnit: 'MHz',
    rateLabel: 'CAN bit rate:',
    rateUnit: 'Kbps',
    samplePointLabel: 'Sample point:',
    toleranceLabel: 'Rate error:',
    bestTargetLabel: "Best's target sample point:",
    bestTargetAdvice: 'advice',
    bestDataTargetLabel: "Best's data target sample point:",
    targetNote: (note) => `The ${note.phase === 'data' ? 'data phase\'s ' : ''}target sample point ${note.target}% ` +
      `cannot be met exactly: among the settings with the smallest error the nearest is ${note.nearest}%`,
    controllerLabel: 'Controller:',
    controllerSearchLabel: 'Find:',
    controllerSearchHint: 'GD32, MCP2515, ESP32…',
    dataRateLabel: 'Data bit rate:',
    compute: 'Compute',
    bestTitle: 'Best setting',
    noBest: 'No setting meets the request',
    codeTitle: 'Copy as code',
    codeHint: 'the selected row, or the best setting when none is selected',
    sjwLabel: 'SJW:',
    dataSjwLabel: 'Data SJW:',
    nodeDelayLabel: 'Node delay:',
    busLengthLabel: 'Bus length:',
    minToleranceLabel: 'Least oscillator tolerance:',
    sjwDefault: { shorter: 'shorter segment', widest: 'widest per row' },
    clockNote: (clock) => `(${clock})`,
    clockWarning: (w) => `${w.controller} runs at ${w.range ? w.runsAt.join(' to ') : w.runsAt.length > 1
      ? `${w.runsAt.slice(0, -1).join(', ')} or ${w.runsAt.at(-1)}` : w.runsAt[0]} MHz${w.source ? ` (${w.source})` : ''}, `
      + `not ${w.typed} MHz: the numbers hold, but the hardware does not run at it`,
    limitsTitle: 'Limits',
    limitsNominal: 'Nominal',
    limitsData: 'Data',
    limitsTdc: 'TDC',
    bestFacts: (tolerance, bus) => `oscillator tolerance ${tolerance}, longest bus ${bus}`,
    bestWarnings: {
      'tolerance-zero': (w) => (w.phase === 'pair'
        ? 'The oscillator tolerance of both phases together is 0.00%: any clock deviation between the nodes can break the bus'
        : `${kEnPhase[w.phase]} oscillator tolerance is 0.00%: any clock deviation between the nodes can break the bus`),
      'bus-shorter-than-asked': (w) => (w.longest < 0
        ? `The setting reaches no bus at the node delay given (its propagation segment leaves no phase 1); the bus is ${w.asked} m`
        : `The longest bus is ${w.longest} m, shorter than the ${w.asked} m bus given`),
      'error-above-tolerance': (w) =>
        `${kEnPhase[w.phase]} rate error ${w.error}% is larger than the oscillator tolerance it leaves, ${w.tolerance}%`,
      'few-quanta': (w) => `${kEnPhase[w.phase]} bit has ${w.quanta} quanta, fewer than 8: resynchronisation is coarse`,
      'no-tdc': (w) => `The data phase at ${w.dataRate} Kbps cannot check its own bits: ${w.controller} has no TDC, `
        + `and at a ${w.delay} ns node delay its sample point comes before its bits return`,
      'tdc-unusable': (w) => `The data phase at ${w.dataRate} Kbps cannot check its own bits: at a ${w.delay} ns node delay `
        + `its sample point comes before its bits return, and it cannot use ${w.controller}'s TDC: `
        + (w.tdc === 'prescaler' ? 'its data prescaler is above 2' : `its TDC offset ${w.offset} is out of the register's range`),
    },
    codeFormLabel: 'Form:',
    copyCode: 'Copy code',
    legendTitle: 'Columns',
    decodeTitle: 'Register decode',
    decodeButton: 'Decode',
    decodeInvalid: 'Enter a register value (0x hex or decimal, at most 32 bits)',
    reservedBits: (list) => `Reserved bits are set: ${list}`,
    missing: {
      'clock-missing': 'Please enter the AHB1 clock frequency', 'rate-missing': 'Please enter the CAN bit rate',
    },
    unreadable: {
      'clock-unreadable': 'The clock is a number of MHz above 0, at most three decimals (42 or 42.5), below 2147483.648',
      'rate-unreadable': 'The bit rate is a number of Kbps above 0 (500 or 83.333)',
      'data-rate-unreadable': 'The data bit rate is a number of Kbps above 0 (2000)',
      'sjw-unreadable': 'The SJW is a whole number of tq from 1 to the controller\'s limit',
      'data-sjw-unreadable': 'The data SJW is a whole number of tq from 1 to the controller\'s limit',
      'node-delay-unreadable': 'The node delay is a whole number of ns from 0 to 10000',
      'bus-length-unreadable': 'The bus length is a whole number of metres from 0 to 100000',
      'min-tolerance-unreadable': 'The least tolerance is a percent from 0 to 100, at most six decimals',
      'tolerance-unreadable': 'The rate error is a percent from 0 to 100, at most two decimals',
      'target-sample-point-unreadable': 'The target sample point is a percent from 50 to 100, at most six decimals',
      'data-target-sample-point-unreadable': 'The data target sample point is a percent from 50 to 100, at most six decimals',
      'decode-unreadable': 'A register value is 0x hex or decimal (at most 32 bits), or NAME=VALUE pairs joined by commas',
      'decode-data-unreadable':
        'A data register value is 0x hex or decimal (at most 32 bits), or NAME=VALUE pairs joined by commas',
    },
    samplePointAdvice: 'Choosing the sample point:',
    samplePointAdviceText: ({ advice }) => AdviceRows(advice, (row) => `bit rate <= ${row.upToKbps} Kbps: about ${row.percent}%`,
      (row, below) => `${below} Kbps < bit rate <= ${row.upToKbps} Kbps: about ${row.percent}%`,
      (row, below) => `above ${below} Kbps: about ${row.percent}%`).join('; '),
    distanceAdvice: ({ referenceLengths }) =>
      `Bit rate and bus length:  ${referenceLengths.map((row) => `${row.rateKbps}Kbps->${row.metres}m`).join(',')}`,
    rowCount: (count) => `Rows: ${count}`,
    rowCountTruncated: (count, shown) => `Rows: ${count} (the table shows the first ${shown})`,
    computing: 'Computing…',
    copy: 'Copy',
    copied: (count) => `Copied ${count} rows`,
    copiedCode: 'Copied code',
    help: 'Help',
    download: 'Download all (TSV)',
    language: '中文',
    languageName: 'English',
    tableLabel: 'Results',
    loadFailed: 'The calculation module could not be loaded',
    requestFailed: 'The calculation failed: reload the page',
  },
};

// Chinese where the browser prefers it (its first Chinese-or-English choice), English
// otherwise.
export function PreferredLanguage(languages) {
  for (const tag of languages || []) {
    const lower = String(tag).toLowerCase();
    if (lower === 'zh' || lower.startsWith('zh-')) return 'zh';
    if (lower === 'en' || lower.startsWith('en-')) return 'en';
  }
  return 'en';
}

// The texts that say the module's figures (the start reply's defaults, advice and
// reference lengths): written once the reply has come.
const kFactTexts = ['samplePointAdviceText', 'distanceAdvice', 'spreadUnit'];

// The advice rows (the start reply's advice) as words: the first, those between, and
// the last (above the rest); each said with the rate below it.
function AdviceRows(advice, first, between, last) {
  return advice.map((row, i) => {
    if (i === 0) return first(row);
    const below = advice[i - 1].upToKbps;
    return row.upToKbps === null ? last(row, below) : between(row, below);
  });
}

// Writes the texts of language into every element that names one with data-text;
// facts: the start reply ({defaults, advice, referenceLengths}), or null before it
// (then the texts that say its figures wait for it).
export function ApplyTexts(root, language, facts = null) {
  const texts = kTexts[language];
  document.documentElement.lang = language === 'zh' ? 'zh-CN' : 'en';
  document.title = texts.title;
  for (const element of root.querySelectorAll('[data-text]')) {
    const text = texts[element.dataset.text];
    if (typeof text === 'string') element.textContent = text;
    else if (facts && kFactTexts.includes(element.dataset.text)) element.textContent = text(facts);
  }
  for (const element of root.querySelectorAll('[data-placeholder]')) element.placeholder = texts[element.dataset.placeholder];
}

// The bus plan's and the bit picture's texts, kept in a block of their own.
const kPlanTexts = {
  zh: {
    planTitle: '总线规划',
    planHint: '每个节点一行：名称、控制器和它的时钟（SJW、时钟精度、代码格式和固定设置可空；固定设置写作 分频系数/Seg1/Seg2，或填寄存器值，多个寄存器写作 CNF1=0x00/CNF2=0xB5/CNF3=0x01，规划让其他节点配合它）。规划使用上面的波特率、数据波特率、采集点和误差，为每个节点选一个设置，使各节点的采集点对齐。',
    nodeName: '名称',
    nodeController: '控制器',
    nodeClock: '时钟 (MHz)',
    nodeSjw: 'SJW',
    nodeDataSjw: '数据段 SJW',
    nodePpm: '时钟精度 (ppm)',
    nodeForm: '代码格式',
    nodeSetting: '固定设置',
    nodeDataSetting: '数据段固定设置',
    nodeSettingHint: '6/11/2',
    nodeRegisters: '固定寄存器',
    nodeDataRegisters: '数据段固定寄存器',
    nodeRegistersHint: '0x001A0005',
    nodeFormPlan: '（同下）',
    nodeLabel: (n) => `节点 ${n}`,
    removeNode: '删除',
    removeNodeLabel: (n) => `删除节点 ${n}`,
    addNode: '添加节点',
    spreadLabel: '采集点最大差距：',
    spreadUnit: ({ defaults }) => `百分点（空：${defaults.spread}）`,
    targetSamplePointLabel: '目标采集点：',
    dataTargetSamplePointLabel: '数据段目标采集点：',
    targetUnit: '%（空：按波特率的建议）',
    clockAccuracyLabel: '时钟精度：',
    planCompute: '规划',
    planMarginLabel: '裕量：',
    planBusLabel: '最长总线：',
    // What limits the plan's figures (the module's limit facts, web/page_plan.cpp).
    planLimitNode: (node) => `${node.name}（${node.controller}，${node.clock} MHz` +
      `${{ nominal: '，设置固定', data: '，数据段设置固定', both: '，两段设置固定' }[node.fixed] ?? ''}）`,
    // A node kept at its fixed setting (the module's fixed facts).
    planFixed: (f, n) => `${n({ ...f.node, fixed: '' })}保持给定的` +
      [f.setting && `固定设置 ${f.setting}${f.registers ? `（寄存器 ${f.registers}）` : ''}`,
        f.dataSetting && `数据段固定设置 ${f.dataSetting}${f.dataRegisters ? `（寄存器 ${f.dataRegisters}）` : ''}`]
        .filter(Boolean).join('、'),
    planLimits: {
      samplePoint: (f, n) => PointLimit(f, n, '', '采集'),
      dataSamplePoint: (f, n) => PointLimit(f, n, '数据位', '采集数据位'),
      margin: (f, n) => `${n(f.node)}的振荡器容差最小，${f.value}` +
        (f.errorNode ? `；${n(f.errorNode)}的波特率误差最大，${f.error}` : ''),
      longestBus: (f, n) => `${n(f.node)}能达到的总线最短，${f.value}`,
    },
    planWarning: (f, n) => `${n(f.node)}每${f.data ? '数据位' : '位'}只有 ${f.quanta} 个时间份额，少于 8 个：再同步粗糙`,
    planNominalCaption: '仲裁相位',
    planDataCaption: '数据相位',
    planNominalColumns: ['节点', '控制器', '时钟 (MHz)', 'Seg1', 'Seg2', '分频系数', 'SJW', 'Tq (ns)', '采集点',
      '实际波特率', '误差', '寄存器', '振荡器容差'],
    planDataColumns: ['节点', 'Seg1', 'Seg2', '分频系数', 'SJW', 'Tq (ns)', '采集点', '实际波特率', '误差', '寄存器',
      'TDC 偏移'],
    planPictureTitle: '各节点的位（同一时间轴）',
    planNominalBits: '仲裁相位的位',
    planDataBits: '数据相位的位',
    planCodeTitle: '各节点的代码',
    planCodeFormLabel: '格式：',
    copyPlanCode: '复制代码',
    planNoNodes: '请先添加节点',
    bitPictureTitle: '选中行的位',
    bitPartNames: { sync: '同步段', prop: '传播段', phase1: '相位缓冲段 1', phase2: '相位缓冲段 2' },
    bitSamplePointMark: '| 采集点',
    bitFigures: (p) => `tq ${p.tqNs} ns · 位时间 ${p.bitNs} ns · 采集点 ${p.samplePoint}`,
    bitDescription: (p, name) => `${name ? `${name}：` : ''}同步段 1 tq，传播段 ${p.prop} tq，相位缓冲段 1 ${p.phase1} tq，` +
      `相位缓冲段 2 ${p.phase2} tq；tq ${p.tqNs} ns；位时间 ${p.bitNs} ns；采集点 ${p.samplePoint}`,
  },
  en: {
    planTitle: 'Bus plan',
    planHint: 'One line per node: its name, controller and clock (its SJW, clock accuracy, code form and fixed setting may stay empty; ' +
      'a fixed setting is prescaler/seg1/seg2, or its register values, several as CNF1=0x00/CNF2=0xB5/CNF3=0x01, ' +
      'and the plan fits the other nodes around it). The plan takes the rate, data rate, sample point and ' +
      'tolerance above and picks one setting per node so that their sample points line up.',
    nodeName: 'Name',
    nodeController: 'Controller',
    nodeClock: 'Clock (MHz)',
    nodeSjw: 'SJW',
    nodeDataSjw: 'Data SJW',
    nodePpm: 'Clock accuracy (ppm)',
    nodeForm: 'Code form',
    nodeSetting: 'Fixed setting',
    nodeDataSetting: 'Data fixed setting',
    nodeSettingHint: '6/11/2',
    nodeRegisters: 'Fixed registers',
    nodeDataRegisters: 'Data fixed registers',
    nodeRegistersHint: '0x001A0005',
    nodeFormPlan: '(as below)',
    nodeLabel: (n) => `Node ${n}`,
    removeNode: 'Remove',
    removeNodeLabel: (n) => `Remove node ${n}`,
    addNode: 'Add node',
    spreadLabel: 'Sample-point spread:',
    spreadUnit: ({ defaults }) => `points at most (empty: ${defaults.spread})`,
    targetSamplePointLabel: 'Target sample point:',
    dataTargetSamplePointLabel: 'Data target sample point:',
    targetUnit: '% (empty: the advice for the rate)',
    clockAccuracyLabel: 'Clock accuracy:',
    planCompute: 'Plan',
    planMarginLabel: 'Margin:',
    planBusLabel: 'Longest bus:',
    planLimitNode: (node) => `${node.name} (${node.controller} at ${node.clock} MHz` +
      `${{ nominal: ', setting fixed', data: ', data setting fixed', both: ', settings fixed' }[node.fixed] ?? ''})`,
    // A node kept at its fixed setting, as the companion's Fixed: line says it, in the
    // page's words: the fields' names, not the node text's keys.
    planFixed: (f, n) => `${n({ ...f.node, fixed: '' })} keeps its ` +
      [f.setting && `fixed setting ${f.setting}${f.registers ? ` (registers ${f.registers})` : ''}`,
        f.dataSetting && `data fixed setting ${f.dataSetting}${f.dataRegisters ? ` (registers ${f.dataRegisters})` : ''}`]
        .filter(Boolean).join(' and ') + ' as given',
    planLimits: {
      samplePoint: (f, n) => PointLimitEn(f, n, false),
      dataSamplePoint: (f, n) => PointLimitEn(f, n, true),
      margin: (f, n) => `${n(f.node)} has the smallest tolerance, ${f.value}` +
        (f.errorNode ? `; ${n(f.errorNode)} the largest rate error, ${f.error}` : ''),
      longestBus: (f, n) => `${n(f.node)} reaches the shortest bus, ${f.value}`,
    },
    planWarning: (f, n) => `${n(f.node)} has ${f.quanta} quanta per ${f.data ? 'data bit' : 'bit'}, `
      + 'fewer than 8: resynchronisation is coarse',
    planNominalCaption: 'Nominal phase',
    planDataCaption: 'Data phase',
    planNominalColumns: ['Node', 'Controller', 'Clock (MHz)', 'Seg1', 'Seg2', 'Prescaler', 'SJW', 'Tq (ns)',
      'Sample point', 'Rate (Kbps)', 'Error', 'Registers', 'Oscillator tolerance'],
    planDataColumns: ['Node', 'Seg1', 'Seg2', 'Prescaler', 'SJW', 'Tq (ns)', 'Sample point', 'Rate (Kbps)', 'Error',
      'Registers', 'TDC offset'],
    planPictureTitle: 'The nodes\' bits on one time axis',
    planNominalBits: 'Nominal bits',
    planDataBits: 'Data bits',
    planCodeTitle: 'Each node\'s code',
    planCodeFormLabel: 'Form:',
    copyPlanCode: 'Copy code',
    planNoNodes: 'Add the nodes first',
    bitPictureTitle: 'The selected row\'s bit',
    bitPartNames: { sync: 'sync', prop: 'propagation', phase1: 'phase 1', phase2: 'phase 2' },
    bitSamplePointMark: '| sample point',
    bitFigures: (p) => `tq ${p.tqNs} ns · bit ${p.bitNs} ns · sample point ${p.samplePoint}`,
    bitDescription: (p, name) => `${name ? `${name}: ` : ''}sync 1 tq, propagation ${p.prop} tq, phase 1 ${p.phase1} tq, ` +
      `phase 2 ${p.phase2} tq; tq ${p.tqNs} ns; bit ${p.bitNs} ns; sample point ${p.samplePoint}`,
  },
};
for (const language of kLanguages) Object.assign(kTexts[language], kPlanTexts[language]);

// The sample point's limit in Chinese (phase: '' or '数据位'; verb: what the node
// does there) from its fact; n names a node.
function PointLimit(fact, n, phase, verb) {
  if (!fact.node) return `每个节点都在目标 ${fact.target} ${verb}`;
  if (fact.own) return `${n(fact.node)}${verb}的位置离目标 ${fact.target} 最近只能到 ${fact.value}`;
  return `${n(fact.node)}在 ${fact.value} ${verb}，离目标 ${fact.target} 最远：它离目标更近的${phase}设置会超出最大差距、` +
    '增加波特率误差或使裕量不足';
}

// The same in English, as the companion's Limit: line says it.
function PointLimitEn(fact, n, data) {
  if (!fact.node) return `Every node samples ${data ? 'its data bits ' : ''}at the target ${fact.target}`;
  if (fact.own) return `${n(fact.node)} cannot sample ${data ? 'its data bits ' : ''}nearer to ${fact.target} than ${fact.value}`;
  return `${n(fact.node)} samples ${data ? 'its data bits ' : ''}at ${fact.value}, the farthest from ${fact.target}: ` +
    `its ${data ? 'data ' : ''}settings nearer to it break the spread, add rate error or leave too little margin`;
}

// The page's own words for a companion option quoted by a module's line: the label of
// the field that holds it ("--tolerance" reads "Rate error"), so a message on the page
// never asks for a flag the page has not.
const kOptionLabels = {
  '--clock': 'clockLabel', '--rate': 'rateLabel', '--sample-point': 'samplePointLabel',
  '--data-sample-point': 'samplePointLabel', '--target-sample-point': 'targetSamplePointLabel',
  '--data-target-sample-point': 'dataTargetSamplePointLabel', '--clock-accuracy': 'clockAccuracyLabel',
  '--tolerance': 'toleranceLabel', '--data-tolerance': 'toleranceLabel', '--controller': 'controllerLabel',
  '--data-rate': 'dataRateLabel', '--sjw': 'sjwLabel', '--data-sjw': 'dataSjwLabel', '--node-delay': 'nodeDelayLabel',
  '--bus-length': 'busLengthLabel', '--min-tolerance': 'minToleranceLabel', '--sample-point-spread': 'spreadLabel',
  '--format': 'codeFormLabel', '--best': 'bestTitle', '--plan': 'planTitle', '--node': 'nodeWord',
  '--decode': 'registerWord', '--decode-data': 'dataRegisterWord',
};
const kOptionWords = {
  zh: { registerWord: '寄存器', dataRegisterWord: '数据段寄存器', nodeWord: '节点' },
  en: { registerWord: 'Register', dataRegisterWord: 'Data register', nodeWord: 'Node' },
};

export function PageWords(text, language) {
  const quote = language === 'zh' ? ['“', '”'] : ['"', '"'];
  return String(text).replace(/--[a-z][a-z-]*/g, (option) => {
    const key = kOptionLabels[option];
    const label = key && (kOptionWords[language][key] ?? kTexts[language][key]);
    return typeof label === 'string' ? `${quote[0]}${label.replace(/[:：]\s*$/, '')}${quote[1]}` : option;
  });
}
